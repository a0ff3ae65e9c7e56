#!/usr/bin/python3
"""Two programs play one scripted game against each other, and each one's
saved game must equal, byte for byte, what `palisade-cli play` saves for the
same clicks and answers plus that side's own view tokens.

  peer_games.py --cli PALISADE_CLI --carrier xmpp|direct --game NAME --work DIR
                [--server-dir XMPP_SERVER_DIR] [--hostile HOSTILE_PEER] [--data DIR]
"""

import argparse
import os
import shutil
import subprocess
import sys
import threading
import time

CODE = "7K3M-9QXD-2F"
TIMEOUT = 60

# Each game: the white (inviting) and the black side's options and tokens,
# and for each side the `play` arguments whose saved game it must equal.
# Squares are as each side sees its board: after its own `switch`, turned.
GAMES = {
    # A pawn promoted to a queen; Black switches sides and browses; a draw
    # offer declined, then one accepted.
    "promotion_and_draw": {
        "white": ["--answers", "y", "25", "27", "27", "28", "28", "29", "29", "22", "22", "31",
                  "decline", "8", "18", "accept"],
        "black": ["15", "45", "45", "15", "15", "45", "45", "15", "back", "forward", "switch",
                  "offer-draw", "16", "50", "offer-draw"],
        "play_white": ["--answers", "y", "25", "27", "15", "45", "27", "28", "45", "15", "28", "29", "15", "45",
                       "29", "22", "45", "15", "22", "31", "15", "45", "8", "18", "draw"],
        "play_black": ["--answers", "y", "25", "27", "15", "45", "27", "28", "45", "15", "28", "29", "15", "45",
                       "29", "22", "45", "15", "22", "31", "back", "forward", "switch", "16", "50",
                       "23", "13", "draw"],
    },
    # A kingside castle taken, taken back on request, then declined; White resigns.
    "castles_and_take_back": {
        "white": ["--answers", "yn", "41", "43", "8", "18", "32", "50", "40", "8", "take-back", "40", "8",
                  "resign"],
        "black": ["15", "45", "45", "15", "15", "45", "45", "15", "accept", "45", "15"],
        "play_white": ["--answers", "yn", "41", "43", "15", "45", "8", "18", "45", "15", "32", "50", "15", "45",
                       "40", "8", "45", "15", "back", "back", "40", "8", "45", "15", "resign"],
        "play_black": ["--answers", "yn", "41", "43", "15", "45", "8", "18", "45", "15", "32", "50", "15", "45",
                       "40", "8", "45", "15", "back", "back", "40", "8", "45", "15", "resign"],
    },
    # Under "Destroy Both Kings!" Black must give up a king and its program
    # asks its player, who keeps the offered one and moves it; a draw agreed.
    "two_kings": {
        "white": ["--file", "@DATA@/fork.brd", "--win-option", "1", "4", "10", "offer-draw"],
        "black": ["--answers", "y", "8", "accept"],
        "play_white": ["--file", "@DATA@/fork.brd", "--answers", "y", "4", "10", "8", "draw"],
        "play_black": ["--file", "@DATA@/fork.brd", "--answers", "y", "4", "10", "8", "draw"],
    },
    # The same, but Black gives up the offered king and keeps the other.
    "two_kings_other_kept": {
        "white": ["--file", "@DATA@/fork.brd", "--win-option", "1", "4", "10", "offer-draw"],
        "black": ["--answers", "n", "17", "accept"],
        "play_white": ["--file", "@DATA@/fork.brd", "--answers", "n", "4", "10", "17", "draw"],
        "play_black": ["--file", "@DATA@/fork.brd", "--answers", "n", "4", "10", "17", "draw"],
    },
    # White drops its connection after its first move; Black's reply is sent
    # while White is away (over XMPP the server keeps it) and arrives when
    # White is back; White browses; Black resigns.
    "reconnect": {
        "white": ["41", "43", "disconnect", "pause", "reconnect", "8", "18", "back", "forward", "32", "50"],
        "black": ["await-offline", "15", "45", "45", "15", "resign"],
        "play_white": ["41", "43", "15", "45", "8", "18", "45", "15", "back", "forward", "32", "50", "resign"],
        "play_black": ["41", "43", "15", "45", "8", "18", "45", "15", "32", "50", "resign"],
    },
    # Black cannot get in: a join code that does not match, or over XMPP a
    # wrong password. It must say why and exit with status 2.
    "refused": {
        "white": ["41", "43"],
        "black": ["15", "45"],
    },
    # White is a program that breaks the rules; Black refuses each message and
    # plays on: 41 43, a draw offered and declined, 15 45, then White resigns.
    "hostile": {
        "black": ["offer-draw", "15", "45"],
        "play_black": ["41", "43", "15", "45", "resign"],
    },
}


class Peer:
    """One running program; its output read as it comes."""

    def __init__(self, name, command, work):
        self.name = name
        self.lines = []
        self.log = open(os.path.join(work, name + ".err"), "w")
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=self.log, text=True)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.append(line.rstrip("\n"))

    def wait_for_line(self, prefix, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            for line in self.lines:
                if line.startswith(prefix):
                    return line
            if self.process.poll() is not None and not self.reader.is_alive():
                break
            time.sleep(0.02)
        return None

    def finish(self, seconds):
        try:
            status = self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            status = "killed"
        self.reader.join(5)
        self.log.close()
        return status


def register(server_dir, user, password):
    subprocess.run(["prosodyctl", "--config", os.path.join(server_dir, "prosody.cfg.lua"), "register", user,
                    "localhost", password], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


WRONG_CODE = "9QXD-7K3M-2F"


def refused_side(options):
    """The options of a black side that cannot get in."""
    if "--code" in options:
        return options[:options.index("--code") + 1] + [WRONG_CODE] + options[options.index("--code") + 2:]
    wrong = options.index("--password-file") + 1
    path = options[wrong] + ".wrong"
    with open(path, "w") as f:
        f.write("not-the-password\n")
    return options[:wrong] + [path] + options[wrong + 1:]


def carrier_options(args, game, work):
    """The options of each side for the carrier, and a function that starts
    the second side once the first is up."""
    if args.carrier == "direct":
        return (["--listen", "0", "--code", CODE], lambda port: ["--connect", "127.0.0.1:" + port, "--code", CODE])
    server = args.server_dir
    port = open(os.path.join(server, "port")).read().strip()
    password_file = os.path.join(work, "password")
    with open(password_file, "w") as f:
        f.write("peer-test-password\n")
    # Accounts of their own: no message of another test can reach them.
    white, black = "pw-" + game.replace("_", "-"), "pb-" + game.replace("_", "-")
    for user in (white, black):
        register(server, user, "peer-test-password")
    common = ["--password-file", password_file, "--ca", os.path.join(server, "cert.pem"),
              "--server", "127.0.0.1:" + port]
    return (["--xmpp", white + "@localhost", "--invite", black + "@localhost"] + common,
            lambda _: ["--xmpp", black + "@localhost", "--accept"] + common)


def substitute(tokens, data):
    return [token.replace("@DATA@", data) for token in tokens]


def expected_file(args, tokens, path):
    result = subprocess.run([args.cli, "play", "--save", path] + tokens, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("play failed: " + result.stderr)
    return result.stdout


def same_bytes(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def state_of(line):
    """A state line without the token or event that led to it."""
    return line.split(" | ", 1)[1] if " | " in line else None


def check_refusals(lines):
    """Every refusal leaves the state line as it was; returns the count."""
    last_state = None
    refusals = 0
    for line in lines:
        state = state_of(line)
        if state is None:
            continue
        if line.startswith("refused | "):
            refusals += 1
            if state != last_state:
                sys.exit("a refused message changed the game:\n  before: %s\n  after:  %s" % (last_state, state))
        last_state = state
    return refusals


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--carrier", choices=["xmpp", "direct"], required=True)
    parser.add_argument("--game", choices=sorted(GAMES), required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--server-dir")
    parser.add_argument("--hostile")
    parser.add_argument("--data", default="")
    args = parser.parse_args()

    game = GAMES[args.game]
    work = os.path.join(args.work, args.carrier + "-" + args.game)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    first, second = carrier_options(args, args.game, work)

    sides = {}
    white_program = [args.hostile] if args.game == "hostile" else [args.cli, "peer"]
    white_tokens = substitute(game.get("white", []), args.data)
    white_save = [] if args.game == "hostile" else ["--save", os.path.join(work, "white.brd")]
    sides["white"] = Peer("white", white_program + first + ["--side", "white"] + white_save
                          + (["--timeout", str(TIMEOUT)] if args.game != "hostile" else []) + white_tokens, work)
    port = None
    if args.carrier == "direct":
        listening = sides["white"].wait_for_line("listening ", 10)
        if listening is None:
            sides["white"].finish(1)
            sys.exit("white did not listen:\n" + open(os.path.join(work, "white.err")).read())
        port = listening.split()[1]
    black_options = second(port)
    if args.game == "refused":
        black_options = refused_side(black_options)
    sides["black"] = Peer("black", [args.cli, "peer"] + black_options + ["--side", "black", "--save",
                                                                        os.path.join(work, "black.brd"),
                                                                        "--timeout", str(TIMEOUT)]
                          + substitute(game["black"], args.data), work)

    if args.game == "refused":
        status = sides["black"].finish(TIMEOUT)
        sides["white"].process.kill()
        sides["white"].finish(5)
        errors = open(os.path.join(work, "black.err")).read()
        if status != 2 or not errors.strip():
            sys.exit("black should have been refused with status 2 and a message, got %s: %s" % (status, errors))
        print("black was refused: " + errors.strip())
        return

    failed = False
    for name, peer in sides.items():
        status = peer.finish(TIMEOUT + 10)
        with open(os.path.join(work, name + ".out"), "w") as f:
            f.write("\n".join(peer.lines) + "\n")
        if status != 0:
            failed = True
            print("%s exited with %s; its errors:\n%s" % (name, status, open(os.path.join(work, name + ".err")).read()))
    if failed:
        for name in sides:
            print("--- %s's lines:\n%s" % (name, open(os.path.join(work, name + ".out")).read()))
        sys.exit(1)

    for name in ("white", "black"):
        key = "play_" + name
        if key not in game:
            continue
        expected = os.path.join(work, name + ".expected.brd")
        play_lines = expected_file(args, substitute(game[key], args.data), expected)
        if not same_bytes(os.path.join(work, name + ".brd"), expected):
            print("--- %s's lines:\n%s" % (name, "\n".join(sides[name].lines)))
            print("--- play's lines:\n" + play_lines)
            sys.exit("%s's saved game differs from play's (cmp %s %s)" % (name, os.path.join(work, name + ".brd"),
                                                                          expected))
    if args.game == "hostile":
        # Seven messages, each refused in words of its own, the game untouched.
        refusals = check_refusals(sides["black"].lines)
        reasons = {line for line in sides["black"].lines if line.startswith("refused ") and " | " not in line}
        if refusals < 7 or len(reasons) < 7:
            print("\n".join(sides["black"].lines))
            sys.exit("only %d of the 7 hostile messages were refused, %d reasons given" % (refusals, len(reasons)))
    print("%s over %s: both saved games equal play's" % (args.game, args.carrier))


if __name__ == "__main__":
    main()
