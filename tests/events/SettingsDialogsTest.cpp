// The schedule and anniversary dialogs through their widgets: lists, captions and tab order,
// edits on several tabs committed by OK and dropped by Cancel or the close box, values
// outside the lists, clip names, the group's enabling and the preview.
#include "events/TKinenbi.h"
#include "events/TYotei.h"
#include "events/TabControl.h"
#include "support/fixtures/EventSlotBuilder.h"
#include "support/fixtures/QtPrinters.h"
#include "support/fixtures/StageSettingsText.h"
#include "support/fixtures/TestApplication.h"
#include "support/fixtures/WidgetTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

enum class Kind { Schedule, Anniversary };

void PrintTo(Kind kind, std::ostream* out) {
    *out << (kind == Kind::Schedule ? "schedules" : "anniversaries");
}

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }

    void open(Kind kind) {
        SlotDialogLink link{.read = [this] { return stored; },
                            .commit =
                                [this](const EventSlots& edited) {
                                    stored = edited;
                                    ++commits;
                                },
                            .playVoice =
                                [this](const QString& clip) {
                                    previews << clip;
                                    return true;
                                }};
        if (kind == Kind::Schedule)
            dialog = std::make_unique<TYotei>(std::move(link), nullptr);
        else
            dialog = std::make_unique<TKinenbi>(std::move(link), nullptr);
        dialog->show();
    }
    template <class Widget> Widget& get(const char* name) {
        auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            throw std::runtime_error(std::string("no ") + name);
        return *widget;
    }
    QComboBox& list(const char* name) { return get<QComboBox>(name); }
    // As a click on the tab does.
    void pickTab(int index) { get<TabControl>("TabControl1").tabBar().setCurrentIndex(index); }
    void press(const char* button) { get<QPushButton>(button).click(); }
    std::vector<bool> groupEnabled() {
        std::vector<bool> states;
        for (QWidget* control : get<QGroupBox>("GroupBox1")
                                    .findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            states.push_back(control->isEnabled());
        return states;
    }
    // The named controls in the order the Tab key visits them, from the first one named.
    QStringList tabOrder(const QString& first) {
        QStringList names;
        QWidget* widget = dialog.get();
        do {
            widget = widget->nextInFocusChain();
            QString name = widget->objectName();
            if (qobject_cast<QTabBar*>(widget))
                name = widget->parentWidget()->objectName();
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->isHidden() && !name.isEmpty())
                names << name;
        } while (widget != dialog.get());
        const qsizetype start = names.indexOf(first);
        return start < 0 ? names : names.mid(start) + names.first(start);
    }

    EventSlots stored;
    int commits = 0;
    QStringList previews;
    std::unique_ptr<SlotDialog> dialog;
};

struct FormCase {
    Kind kind;
    const char* caption;
    QStringList days;
    QStringList tabOrder;
};

void PrintTo(const FormCase& form, std::ostream* out) {
    PrintTo(form.kind, out);
}

class DialogForm : public SettingsDialog, public ::testing::WithParamInterface<FormCase> {};

TEST_P(DialogForm, IsAFixedBoxWithItsDayListAndTabOrder) {
    const FormCase& c = GetParam();
    open(c.kind);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(dialog->size(), QSize(320, 240));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(itemsOf(list("Hi")), c.days);
    EXPECT_TRUE(get<QPushButton>("OKBtn").isDefault());
    EXPECT_EQ(tabOrder(c.tabOrder.first()), c.tabOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Both, DialogForm,
    ::testing::Values(FormCase{Kind::Schedule,
                               "予定設定",
                               QStringList{"**"} + numbers(1, 31),
                               {"TabControl1", "UseFlagCB", "Tuki", "Hi", "Ji", "Hun", "SoundList",
                                "SndSamplePlay", "Message", "OKBtn", "CanBtn"}},
                      // Every anniversary falls on a definite day; OK comes first.
                      FormCase{Kind::Anniversary,
                               "記念日設定",
                               numbers(1, 31),
                               {"OKBtn", "CanBtn", "TabControl1", "UseFlagCB", "Tuki", "Hi",
                                "SoundList", "SndSamplePlay", "Message"}}),
    [](const auto& info) { return info.param.kind == Kind::Schedule ? "Yotei" : "Kinenbi"; });

TEST_F(SettingsDialog, EditsOnTwoSchedulesAreCommittedByOkWithoutGoingBack) {
    open(Kind::Schedule);
    get<QCheckBox>("UseFlagCB").click();
    list("Tuki").setCurrentIndex(12);
    list("Hi").setCurrentIndex(24);
    list("Ji").setCurrentIndex(8);
    list("Hun").setCurrentIndex(6);
    list("SoundList").setCurrentIndex(2);
    get<QPlainTextEdit>("Message").setPlainText(QStringLiteral("一行目\n二行目"));
    pickTab(2);
    EXPECT_FALSE(get<QCheckBox>("UseFlagCB").isChecked());
    list("Ji").setCurrentIndex(21);
    get<QPlainTextEdit>("Message").setPlainText(QStringLiteral("夜"));
    press("OKBtn");
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(stored[0], eventSlot(true, 12, 24, 8, 30, "Snd_Jikan2", "一行目\n二行目"));
    EXPECT_EQ(stored[1], EventSlot());
    EXPECT_EQ(stored[2], eventSlot(false, 0, 0, 21, 0, "", "夜"));
}

TEST_F(SettingsDialog, AnAnniversaryOnThe29thOfEveryMonthAndAnotherAreCommittedByOk) {
    stored = StageSettings().anniversaries;
    open(Kind::Anniversary);
    // A new anniversary: every month, the 1st, not in use.
    EXPECT_EQ(list("Tuki").currentText(), QStringLiteral("**"));
    EXPECT_EQ(list("Hi").currentText(), QStringLiteral("1"));
    EXPECT_EQ(groupEnabled(), std::vector<bool>(groupEnabled().size(), false));
    pickTab(1);
    get<QCheckBox>("UseFlagCB").click();
    list("Hi").setCurrentIndex(28);
    list("SoundList").setCurrentIndex(3);
    pickTab(0);
    list("Tuki").setCurrentIndex(12);
    list("Hi").setCurrentIndex(23);
    press("OKBtn");
    EXPECT_EQ(stored[0], eventSlot(false, 12, 24, 0, 0, "", ""));
    EXPECT_EQ(stored[1], eventSlot(true, 0, 29, 0, 0, "Snd_Kinenbi3", ""));
    EXPECT_EQ(stored[2], StageSettings().anniversaries[2]);
}

class Dismissed : public SettingsDialog,
                  public ::testing::WithParamInterface<std::tuple<Kind, bool>> {};

TEST_P(Dismissed, CancelOrTheCloseBoxLeavesAllThreeSlots) {
    const auto [kind, byCloseBox] = GetParam();
    stored = {eventSlot(true, 3, 3, 3, 5, "Snd_Kinenbi1", "a"),
              eventSlot(false, 4, 4, 4, 10, "", "b"), eventSlot(true, 0, 1, 0, 0, "x", "")};
    const EventSlots before = stored;
    open(kind);
    get<QCheckBox>("UseFlagCB").click();
    list("Tuki").setCurrentIndex(7);
    pickTab(1);
    get<QPlainTextEdit>("Message").setPlainText(QStringLiteral("changed"));
    if (byCloseBox)
        dialog->close();
    else
        press("CanBtn");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(commits, 0);
    EXPECT_EQ(stored, before);
}

INSTANTIATE_TEST_SUITE_P(Both, Dismissed,
                         ::testing::Combine(::testing::Values(Kind::Schedule, Kind::Anniversary),
                                            ::testing::Bool()));

TEST_F(SettingsDialog, AMinuteOffTheListShowsNoneAndIsStoredAsZero) {
    stored[0] = eventSlot(true, 0, 0, 9, 7, "", "");
    stored[1] = stored[0];
    open(Kind::Schedule);
    EXPECT_EQ(list("Hun").currentIndex(), -1);
    // Leaving the tab stores it; OK stores the tab that shows.
    pickTab(1);
    EXPECT_EQ(list("Hun").currentIndex(), -1);
    press("OKBtn");
    EXPECT_EQ(stored[0].minute, 0);
    EXPECT_EQ(stored[1].minute, 0);
    EXPECT_EQ(stored[1].hour, 9);
}

TEST_F(SettingsDialog, HandEditedValuesOutsideTheListsShowNoneAndAreStoredWithinRange) {
    stored[0] = eventSlot(true, 13, 40, 25, 0, "", "");
    open(Kind::Schedule);
    for (const char* name : {"Tuki", "Hi", "Ji"})
        EXPECT_EQ(list(name).currentIndex(), -1) << name;
    press("OKBtn");
    EXPECT_EQ(stored[0], eventSlot(true, 0, 0, 0, 0, "", ""));

    stored[0] = eventSlot(true, 200, -3, 0, 0, "", "");
    open(Kind::Anniversary);
    EXPECT_EQ(list("Tuki").currentIndex(), -1);
    EXPECT_EQ(list("Hi").currentIndex(), -1);
    press("OKBtn");
    EXPECT_EQ(stored[0].month, 0);
    EXPECT_EQ(stored[0].day, 1);
}

TEST_F(SettingsDialog, ClipNamesAreFoundWhateverTheirCaseAndUnknownOnesBecomeNone) {
    stored[0].clip = QStringLiteral("SND_JIKAN2");
    stored[1].clip = QStringLiteral("Snd_Nothing");
    open(Kind::Schedule);
    EXPECT_EQ(list("SoundList").currentText(), QStringLiteral("おはようございます"));
    pickTab(1);
    EXPECT_EQ(list("SoundList").currentText(), QStringLiteral("なし"));
    press("OKBtn");
    EXPECT_EQ(stored[0].clip, QStringLiteral("Snd_Jikan2"));
    EXPECT_EQ(stored[1].clip, QString());
}

TEST_F(SettingsDialog, TheUseFlagEnablesTheWholeGroupAndThePreviewFollowsTheClip) {
    open(Kind::Schedule);
    QAbstractButton& preview = get<QAbstractButton>("SndSamplePlay");
    EXPECT_TRUE(get<QCheckBox>("UseFlagCB").isEnabled());
    EXPECT_EQ(groupEnabled(), std::vector<bool>(groupEnabled().size(), false));
    get<QCheckBox>("UseFlagCB").click();
    EXPECT_EQ(groupEnabled(), std::vector<bool>(groupEnabled().size(), true));
    // Even with "なし": the preview then plays nothing.
    EXPECT_TRUE(preview.isEnabled());
    preview.click();
    list("SoundList").setCurrentIndex(3);
    EXPECT_TRUE(preview.isEnabled());
    preview.click();
    list("SoundList").setCurrentIndex(0);
    EXPECT_FALSE(preview.isEnabled());
    list("SoundList").setCurrentIndex(1);
    EXPECT_TRUE(preview.isEnabled());
    EXPECT_EQ(previews, (QStringList{"", "Snd_Jikan3"}));
    // Cleared, the group is off but its values are kept and committed.
    get<QCheckBox>("UseFlagCB").click();
    EXPECT_FALSE(preview.isEnabled());
    press("OKBtn");
    EXPECT_EQ(stored[0], eventSlot(false, 0, 0, 0, 0, "Snd_Jikan1", ""));
}

TEST_F(SettingsDialog, MessagesOfSeveralLinesComeBackExactlyAsTheyWere) {
    stored[0].message = QStringLiteral("一行目\n\n三行目 \n");
    stored[1].message = QStringLiteral("古い改行\r\nです\u00a0");
    open(Kind::Anniversary);
    EXPECT_EQ(get<QPlainTextEdit>("Message").toPlainText(), stored[0].message);
    pickTab(1);
    pickTab(2);
    const EventSlots before = stored;
    press("OKBtn");
    EXPECT_EQ(stored[0].message, before[0].message);
    EXPECT_EQ(stored[1].message, before[1].message);

    open(Kind::Anniversary);
    get<QPlainTextEdit>("Message").setPlainText(QStringLiteral("新しい\n\n二行"));
    press("OKBtn");
    EXPECT_EQ(stored[0].message, QStringLiteral("新しい\n\n二行"));
}

// A message of a mebibyte without a space, as a hand-edited or hostile file may hold: the
// edit is given its beginning, and the message is kept whole unless it is edited. (How soon
// the dialogs open with it: `make bench`.)
class LongMessages : public SettingsDialog, public ::testing::WithParamInterface<Kind> {};

TEST_P(LongMessages, ShowTheirBeginningAndAreKeptWholeUnlessEdited) {
    const qsizetype limit = SlotDialog::kShownMessageLimit;
    const QString letters(1 << 20, QLatin1Char('x'));
    stored[0].message = letters;
    // A surrogate pair across the limit.
    stored[1].message =
        QString(limit - 1, QLatin1Char('a')) + QStringLiteral("\U0001F600") + letters;
    stored[2].message = QString(limit, QLatin1Char('y'));
    const EventSlots before = stored;
    open(GetParam());
    dialog->grab();
    EXPECT_EQ(get<QPlainTextEdit>("Message").toPlainText(), letters.left(limit));
    EXPECT_FALSE(get<QPlainTextEdit>("Message").toolTip().isEmpty()) << "nothing says so";
    pickTab(1);
    EXPECT_EQ(get<QPlainTextEdit>("Message").toPlainText(), before[1].message.left(limit - 1));
    pickTab(2);
    EXPECT_EQ(get<QPlainTextEdit>("Message").toPlainText(), before[2].message);
    EXPECT_TRUE(get<QPlainTextEdit>("Message").toolTip().isEmpty());
    press("OKBtn");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(stored[i].message, before[i].message) << "slot " << i;

    open(GetParam());
    get<QPlainTextEdit>("Message").appendPlainText(QStringLiteral("end"));
    press("OKBtn");
    EXPECT_EQ(stored[0].message, letters.left(limit) + QStringLiteral("\nend"));
    EXPECT_EQ(stored[1].message, before[1].message);
}

INSTANTIATE_TEST_SUITE_P(Both, LongMessages, ::testing::Values(Kind::Schedule, Kind::Anniversary));

} // namespace
