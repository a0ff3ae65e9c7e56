// The number of threads the computer searches with: chosen in the preferences,
// kept between runs within what the machine has, and used by the computer's
// moves, which Stop still ends.

#include "window_driving.h"
#include "computer/players.h"
#include "shell/computer_player.h"
#include "shell/preferences.h"
#include "shell/preferences_dialog.h"
#include "shell/search_threads_setting.h"

#include <QGroupBox>
#include <QLabel>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>

using namespace palisade;

namespace {

constexpr int kLongWait = 20000; // ms

void writeThreadsSetting(const QVariant& value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::applicationName(),
                       "preferences");
    settings.setValue("computer/searchThreads", value);
}

} // namespace

class SearchThreadsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(Forms().recoveryPath()); }

    void theDialogOffersOneThreadToEveryCore()
    {
        PreferencesDialog dialog(Preferences{});
        auto* threads = dialog.findChild<QSpinBox*>("searchThreads");
        QVERIFY(threads);
        QVERIFY(qobject_cast<QGroupBox*>(threads->parentWidget()));
        QCOMPARE(threads->minimum(), 1);
        QCOMPARE(threads->maximum(), processorCores());
        QCOMPARE(threads->value(), std::max(1, processorCores() - 1));
        threads->setValue(1);
        Preferences chosen;
        chosen.searchThreads = 1;
        QCOMPARE(dialog.preferences(), chosen);
        savePreferences(chosen);
        QCOMPARE(loadPreferences(), chosen);
        savePreferences(Preferences{});
    }

    // A settings file edited by hand, or written on a machine with more cores.
    void aNumberOutsideTheCoresIsBroughtWithinThem()
    {
        writeThreadsSetting(999);
        QCOMPARE(loadPreferences().searchThreads, processorCores());
        writeThreadsSetting(-3);
        QCOMPARE(loadPreferences().searchThreads, 1);
        writeThreadsSetting("many");
        QCOMPARE(loadPreferences().searchThreads, defaultSearchThreads());
        savePreferences(Preferences{});
    }

    void theComputerThinksWithTwoThreadsAndStopPlaysItsMove()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        Preferences preferences = window.preferences();
        preferences.searchThreads = 2;
        window.applyPreferences(preferences);
        window.computer().setPlayers({{true, kLevelCount}, {false, kDefaultLevel}});
        QTRY_VERIFY(window.computer().thinking());
        window.findChild<QPushButton*>("stopThinking")->click();
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 1, kLongWait);
        QVERIFY(!window.computer().thinking());
        QCOMPARE(window.findChild<QLabel*>("Label2")->text(), QString("Black to Move"));
    }

    // Closing the window mid-search joins every thread before anything goes.
    void closingMidSearchEndsEveryThread()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        Preferences preferences = window.preferences();
        preferences.searchThreads = 2;
        window.applyPreferences(preferences);
        window.computer().setPlayers({{true, kLevelCount}, {false, kDefaultLevel}});
        QTRY_VERIFY(window.computer().thinking());
    }
};

QTEST_MAIN(SearchThreadsTest)
#include "search_threads_test.moc"
