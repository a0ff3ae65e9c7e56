// The game's sounds through the real window: which sound each move asks for,
// silence when they are off or nothing was played, and the speakers on a
// machine without any.

#include "window_driving.h"
#include "shell/forms.h"
#include "shell/sound_board.h"

#include <QTemporaryDir>
#include <QtTest>

#include <vector>

using namespace palisade;

namespace {

using Line = std::vector<std::pair<int, int>>;

void play(GameRoomWindow& window, const Line& line)
{
    for (const auto& [from, to] : line) {
        clickSquare(window, from);
        clickSquare(window, to);
    }
}

// Keeps what the board asked to play, in order.
class RecordingSink : public SoundSink {
public:
    explicit RecordingSink(std::vector<SoundKind>& played) : played_(played) {}
    void play(SoundKind kind, double) override { played_.push_back(kind); }

private:
    std::vector<SoundKind>& played_;
};

std::vector<SoundKind>& listenTo(GameRoomWindow& window)
{
    static std::vector<SoundKind> played;
    played.clear();
    window.sounds().setSink(std::make_unique<RecordingSink>(played));
    return played;
}

// Any window that came up to tell the player something.
bool somethingPoppedUp(const QWidgetList& before)
{
    if (QApplication::activeModalWidget()) return true;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && !before.contains(widget)) return true;
    }
    return false;
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
    }

    void eachMoveAsksForItsOwnSound()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        auto& played = listenTo(window);

        play(window, {{1, 2}});
        QCOMPARE(played, std::vector{SoundKind::Move});

        // White's pawn from 25 walks up its line and takes on 22.
        window.room().setUp();
        played.clear();
        play(window, {{25, 27}, {15, 45}, {27, 28}, {45, 15}, {28, 29}, {15, 45}, {29, 22}});
        QCOMPARE(played.size(), std::size_t(7));
        QCOMPARE(played.back(), SoundKind::Capture);
        QVERIFY(std::count(played.begin(), played.end(), SoundKind::Move) == 6);

        // Queen B, the bishop on 104 and the knight on 64 clear the way: king A castles queenside.
        window.room().setUp();
        play(window, {{41, 43}, {15, 45}, {8, 18}, {45, 15}, {32, 50}, {15, 45}, {73, 75}, {45, 15},
                      {72, 74}, {15, 45}, {104, 73}, {45, 15}, {64, 34}, {15, 45}});
        played.clear();
        play(window, {{40, 104}});
        QCOMPARE(window.room().notation(), std::string("2O-O-O4"));
        QCOMPARE(played, std::vector{SoundKind::Castle});

        // Black's king on 38 checked by White's bishop two half-boards below.
        window.room().setUp();
        played.clear();
        play(window, {{1, 2}, {38, 37}, {32, 1}, {47, 38}, {1, 100}});
        QVERIFY(window.room().checkShown());
        QCOMPARE(played.back(), SoundKind::Check);

        // The knight forks Black's two kings: checkmate ends the game.
        Position fork;
        for (const auto& [square, code] : {std::pair{4, kWhiteKnight}, {16, kBlackKing}, {25, kBlackKing},
                                           {110, kWhiteKing}, {118, kWhiteKing}}) {
            fork.squares[square] = code;
        }
        window.room().setUp(fork);
        played.clear();
        play(window, {{4, 10}});
        QVERIFY(window.room().result().has_value());
        QCOMPARE(played, std::vector{SoundKind::GameEnd});
        window.room().setUp();
    }

    void nothingSoundsWithoutAMoveOrWithTheSoundsOff()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        auto& played = listenTo(window);
        play(window, {{1, 2}, {38, 37}});
        played.clear();
        // Selecting, stepping through the history and starting afresh play nothing,
        // though pieces come and go.
        clickSquare(window, 32);
        clickSquare(window, 32);
        window.room().takeBack();
        window.room().forward();
        window.room().backToFirstMove();
        window.room().forwardToEnd();
        window.room().setUp();
        QVERIFY(played.empty());

        Preferences quiet = window.preferences();
        quiet.soundsOn = false;
        window.applyPreferences(quiet);
        play(window, {{1, 2}});
        window.sounds().playLowTime();
        QVERIFY(played.empty());

        Preferences muted = window.preferences();
        muted.soundsOn = true;
        muted.soundVolume = 0;
        window.applyPreferences(muted);
        play(window, {{38, 37}});
        QVERIFY(played.empty());

        window.applyPreferences(Preferences{});
        window.sounds().playLowTime();
        QCOMPARE(played, std::vector{SoundKind::LowTime});
        window.room().setUp();
    }

    // No audio output here: the speakers stay silent, show the player nothing and never hold a click up.
    void theSpeakersWithoutAnAudioOutputPlayNothingAndSayNothing()
    {
        {
            SoundBoard sounds;
            sounds.setOn(true);
            for (int k = 0; k < kSoundKinds; ++k) sounds.play(static_cast<SoundKind>(k));
            sounds.playLowTime();
            QTest::qWait(200);
        }
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(window.sounds().isOn());
        const QWidgetList before = QApplication::topLevelWidgets();
        play(window, {{1, 2}, {38, 37}});
        QCOMPARE(window.room().halfMoves(), 2);
        QTest::qWait(100);
        QVERIFY(!somethingPoppedUp(before));
        window.room().setUp();
    }

private:
    QTemporaryDir home_;
};

QTEST_MAIN(SoundTest)
#include "sound_test.moc"
