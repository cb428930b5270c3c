#include "outlook/message_text.h"
#include "platform/linux/system_clock.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_folder_picker.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_text_locale.h"
#include "qt_application.h"
#include "support/test_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

namespace qb {
namespace {

using SteadyClock = std::chrono::steady_clock;

double millisecondsSince(SteadyClock::time_point start) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

TEST(MessageText, CarriageReturnsBecomeLineBreaks) {
    EXPECT_EQ(MessageText("one\r\n\r\ntwo"), QString("one\n\ntwo"));
    EXPECT_EQ(MessageText("too many files.\r\rPlease"), QString("too many files.\n\nPlease"));
    EXPECT_EQ(MessageText("plain"), QString("plain"));
}

TEST(QtEventPump, WaitingSleepsUntilTheTimeIsUp) {
    test::EnsureQtApplication();
    QtEventPump pump;
    pump.processEvents(); // what earlier tests left pending would end the wait early
    const std::clock_t cpuBefore = std::clock();
    const auto start = SteadyClock::now();
    pump.waitForEvents(0.2);
    EXPECT_GE(millisecondsSince(start), 190);
    // Waiting must not spin: the processor stays nearly idle.
    EXPECT_LT(static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC, 0.1);
}

TEST(QtEventPump, WaitingRunsAnArrivingEventAndReturns) {
    test::EnsureQtApplication();
    QtEventPump pump;
    pump.processEvents(); // what is pending already would end the wait before the timer
    bool ran = false;
    QTimer::singleShot(20, [&] { ran = true; });
    const auto start = SteadyClock::now();
    pump.waitForEvents(2.0);
    EXPECT_TRUE(ran);
    EXPECT_LT(millisecondsSince(start), 1000);
}

TEST(QtTextLocale, UsEnglishReadsAsTheUserExpects) {
    test::EnsureQtApplication();
    QtTextLocale locale(QLocale(QLocale::English, QLocale::UnitedStates));
    const LocalDateTime value{2021, 8, 31, 14, 5, 9};
    EXPECT_EQ(locale.longTime(value), "2:05:09 PM");
    EXPECT_EQ(locale.shortDate(value), "8/31/2021");
    EXPECT_EQ(locale.upper("straße à"), "STRASSE À");
    EXPECT_EQ(locale.amDesignator(), "AM");
    EXPECT_EQ(locale.pmDesignator(), "PM");
}

TEST(QtTextLocale, DateCellsOfRealLocalesShowTheWholeYear) {
    test::EnsureQtApplication();
    struct Case {
        const char *locale;
        const char *dateCell;
    };
    // bg_BG quotes a word after its date; sv_SE writes four digits already.
    const Case cases[] = {{"en_US", "6/21/2011 2:05:09 PM"},
                          {"de_DE", "21.06.2011 14:05:09"},
                          {"sv_SE", "2011-06-21 14:05:09"},
                          {"bg_BG", "21.06.2011 \u0433. 14:05:09 \u0447."}};
    const LocalDateTime value{2011, 6, 21, 14, 5, 9};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locale);
        QtTextLocale locale{QLocale(QString::fromLatin1(c.locale))};
        const std::string cell = outlook::ReceivedTimeText(locale, value);
        EXPECT_EQ(cell, c.dateCell);
        // The search reads the same text: a year must find the message.
        EXPECT_NE(locale.upper(cell).find("2011"), std::string::npos);
    }
}

TEST(WithFourDigitYear, WidensOnlyUnquotedTwoDigitYears) {
    EXPECT_EQ(WithFourDigitYear("M/d/yy"), QString("M/d/yyyy"));
    EXPECT_EQ(WithFourDigitYear("yyyy-MM-dd"), QString("yyyy-MM-dd"));
    EXPECT_EQ(WithFourDigitYear("d.MM.yy 'yy'."), QString("d.MM.yyyy 'yy'."));
    EXPECT_EQ(WithFourDigitYear("dd 'it''s yy' yy"), QString("dd 'it''s yy' yyyy"));
}

TEST(WithoutTimeZone, DropsOnlyTheZoneField) {
    EXPECT_EQ(WithoutTimeZone("h:mm:ss AP t"), QString("h:mm:ss AP"));
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss"), QString("HH:mm:ss"));
    EXPECT_EQ(WithoutTimeZone("HH 'tijd' mm t"), QString("HH 'tijd' mm"));
}

/// Answers the folder dialog about to open: notes the folder it opened on, then presses OK or
/// Cancel without choosing anything else.
void answerFolderDialog(QString &openedOn, bool pressOk) {
    QTimer::singleShot(0, [&openedOn, pressOk] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no folder dialog opened";
            return;
        }
        openedOn = dialog->directory().absolutePath();
        // The file dialog's own accept, which reads what the dialog shows, through QDialog.
        QDialog &asDialog = *dialog;
        if (pressOk)
            asDialog.accept();
        else
            asDialog.reject();
    });
}

TEST(QtFolderPicker, OpensOnTheStartFolderElseTheDesktopNeverTheWorkingDirectory) {
    test::EnsureQtApplication();
    test::TempFolder home;
    std::filesystem::create_directories(home / "Desktop");
    std::filesystem::create_directories(home / "out");
    struct Case {
        std::string startFolder;
        std::string desktop;
        std::string openedOn;
        bool pressOk = true;
    };
    const Case cases[] = {
        {home / "out", home / "Desktop", home / "out"},
        {home / "gone", home / "Desktop", home / "Desktop"},
        {"", home / "Desktop", home / "Desktop"},
        // A Desktop that does not exist yet: the nearest folder above it.
        {"", home / "no Desktop/below", home.path()},
        {"", "", "/"},
        {home / "out", home / "Desktop", home / "out", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.startFolder + " | " + c.desktop);
        test::FakeSpecialFolders folders;
        folders.desktop = c.desktop;
        QtFolderPicker picker(folders);
        WindowModel owner("Form1", 8040, 9705);
        QString openedOn;
        answerFolderDialog(openedOn, c.pressOk);
        const std::string chosen = picker.browse(owner, "Please select folder:", c.startFolder);
        EXPECT_EQ(openedOn.toStdString(), c.openedOn);
        // OK without a choice takes the folder the dialog opened on; Cancel takes nothing.
        EXPECT_EQ(chosen, c.pressOk ? c.openedOn : "");
    }
}

TEST(SystemClock, SecondsSinceMidnightMatchTheLocalTime) {
    SystemClock clock;
    const LocalDateTime now = clock.now();
    const double seconds = clock.secondsSinceMidnight();
    const double expected = now.hour * 3600 + now.minute * 60 + now.second;
    // Either reading may fall just after midnight.
    if (seconds > 5 && expected > 5) {
        EXPECT_NEAR(seconds, expected, 2.0);
    }
    EXPECT_GE(seconds, 0);
    EXPECT_LT(seconds, 86400);
}

TEST(SystemClock, SleepBlocksForTheTime) {
    SystemClock clock;
    const auto start = SteadyClock::now();
    clock.sleep(50);
    EXPECT_GE(millisecondsSince(start), 50);
}

} // namespace
} // namespace qb
