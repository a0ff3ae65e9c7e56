// A game lost to a crash, with the real program on an X server: it is killed
// outright in the middle of a game and started again, and every other way into
// the game room asks before the game left unsaved is overwritten. Cancel keeps
// it to the byte with "Resume Unsaved Game" still offered; only OK discards it.
// Keys and windows go through xdotool, as a player's keyboard would.
// Needs PALISADE_BRINDLE (the program) and XDOTOOL in the environment.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWait = 5000; // ms; the program starts and answers in well under a second

QString environmentPath(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

} // namespace

class CrashRecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(programPath_).isExecutable(),
                 qPrintable("no program at PALISADE_BRINDLE: " + programPath_));
        QVERIFY2(QFileInfo(xdotool_).isExecutable(),
                 qPrintable("xdotool is missing (Debian package xdotool): XDOTOOL=" + xdotool_));
        QVERIFY(home_.isValid());
        recovery_ = home_.filePath("data/palisade-brindle/recovery.brd");
    }

    void cleanup() { stopProgram(); }

    void aGameCutShortByACrashIsKept()
    {
        startProgram();
        const QStringList shown = waitForWindows(1);
        QCOMPARE(shown.size(), 1);
        plainStartHeight_ = heightOf(shown.first());
        keys(shown.first(), {"Return"}); // "Enter Game Room" has the focus
        const QString room = waitForWindowNamed("Game Room");
        QVERIFY(!room.isEmpty());
        // White's knight out by the keyboard cursor: show it, down a row, pick, on to 42, put.
        keys(room, {"Down", "Down", "Return", "Down", "Down", "Down", "Down", "Right", "Right", "space"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(recovery_).size() > 0, kWait);
        program_->kill(); // SIGKILL: nothing is saved or closed
        QVERIFY(program_->waitForFinished(kWait));
        recovered_ = contentsOf(recovery_);
        QVERIFY(!recovered_.isEmpty());
    }

    void cancelKeepsItFromTheCommandLineAndEnterGameRoom()
    {
        QVERIFY(!recovered_.isEmpty());
        const QString savedGame = home_.filePath("saved.brd");
        QVERIFY(QFile::copy(recovery_, savedGame));

        startProgram({savedGame});
        QString question = waitForQuestion();
        QVERIFY(!question.isEmpty());
        keys(question, {"Escape"}); // Cancel
        const QStringList left = waitForWindows(1);
        QCOMPARE(left.size(), 1);
        const QString startScreen = left.first();
        QVERIFY(nothingChanged(startScreen));

        keys(startScreen, {"Return"}); // "Enter Game Room"
        question = waitForQuestion();
        QVERIFY(!question.isEmpty());
        keys(question, {"Escape"});
        QCOMPARE(waitForWindows(1), QStringList{startScreen});
        QVERIFY(nothingChanged(startScreen));

        // The button above "Enter Game Room" resumes the game that was kept.
        keys(startScreen, {"shift+Tab", "Return"});
        QVERIFY(!waitForWindowNamed("Game Room").isEmpty());
        QCOMPARE(contentsOf(recovery_), recovered_);
    }

    void okDiscardsIt()
    {
        startProgram();
        const QStringList shown = waitForWindows(1);
        QCOMPARE(shown.size(), 1);
        keys(shown.first(), {"Return"});
        const QString question = waitForQuestion();
        QVERIFY(!question.isEmpty());
        keys(question, {"Tab", "space"}); // from Cancel, the default, to OK
        QVERIFY(!waitForWindowNamed("Game Room").isEmpty());
        QVERIFY(!QFile::exists(recovery_));
    }

private:
    void startProgram(const QStringList& arguments = {})
    {
        program_ = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home_.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        environment.insert("QT_QPA_PLATFORM", "xcb");
        program_->setProcessEnvironment(environment);
        program_->setStandardOutputFile(QProcess::nullDevice());
        program_->setStandardErrorFile(QProcess::nullDevice());
        program_->start(programPath_, arguments);
        QVERIFY(program_->waitForStarted(kWait));
    }

    void stopProgram()
    {
        if (!program_) return;
        program_->kill();
        program_->waitForFinished(kWait);
        program_.reset();
    }

    QString xdotool(const QStringList& arguments)
    {
        QProcess tool;
        tool.start(xdotool_, arguments);
        if (!tool.waitForFinished(kWait)) qFatal("xdotool did not answer");
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    // The program's windows on the screen.
    QStringList windows()
    {
        const QString ids =
            xdotool({"search", "--onlyvisible", "--pid", QString::number(program_->processId())});
        return ids.split('\n', Qt::SkipEmptyParts);
    }

    QStringList waitForWindows(int count)
    {
        QStringList shown;
        if (!QTest::qWaitFor([&] { return (shown = windows()).size() == count; }, kWait)) {
            qWarning("expected %d windows of the program, saw %lld", count, qlonglong(shown.size()));
        }
        return shown;
    }

    QString waitForWindowNamed(const QString& prefix)
    {
        QString found;
        const bool shown = QTest::qWaitFor(
            [&] {
                for (const QString& window : windows()) {
                    if (xdotool({"getwindowname", window}).startsWith(prefix)) found = window;
                }
                return !found.isEmpty();
            },
            kWait);
        return shown ? found : QString();
    }

    // The question over the start screen: the smaller of the program's two windows.
    QString waitForQuestion()
    {
        const QStringList shown = waitForWindows(2);
        if (shown.size() != 2) return {};
        return heightOf(shown.at(0)) < heightOf(shown.at(1)) ? shown.at(0) : shown.at(1);
    }

    // After Cancel: no game room, the game kept to the byte, and the start
    // screen taller than a plain one by "Resume Unsaved Game".
    bool nothingChanged(const QString& startScreen)
    {
        return windows() == QStringList{startScreen} && contentsOf(recovery_) == recovered_
               && heightOf(startScreen) > plainStartHeight_;
    }

    void keys(const QString& window, const QStringList& names)
    {
        xdotool(QStringList{"windowfocus", "--sync", window, "key", "--delay", "20"} + names);
    }

    int heightOf(const QString& window)
    {
        static const QRegularExpression geometry("Geometry: (\\d+)x(\\d+)");
        const auto match = geometry.match(xdotool({"getwindowgeometry", window}));
        return match.hasMatch() ? match.captured(2).toInt() : -1;
    }

    static QByteArray contentsOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const QString programPath_ = environmentPath("PALISADE_BRINDLE");
    const QString xdotool_ = environmentPath("XDOTOOL");
    QTemporaryDir home_;
    QString recovery_;
    QByteArray recovered_;
    int plainStartHeight_ = 0;
    std::unique_ptr<QProcess> program_;
};

QTEST_GUILESS_MAIN(CrashRecoveryTest)
#include "crash_recovery_test.moc"
