// Every text she shows in her windows and dialogs, read through their widgets and compared
// with one table written from what the user is to read. Menu captions, the About box and
// the default messages have their own tests beside the behaviour they belong to.
#include "support/fixtures/DialogAnswerer.h"
#include "support/fixtures/QtPrinters.h"
#include "support/fixtures/StageFixture.h"
#include "support/fixtures/WidgetTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <map>

namespace {

// What a window says: its title and the texts of its labels, buttons, tabs and list items.
QStringList textsOf(const QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QTabBar* tabs : window.findChildren<QTabBar*>())
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
    for (const QComboBox* list : window.findChildren<QComboBox*>())
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
    return texts;
}

// The items of one list or the tabs of one tab control, in order.
QStringList itemsOf(const QWidget& window, const QString& name) {
    return itemsOf(window.findChild<QWidget*>(name));
}

struct Shown {
    const char* window;
    // Empty: each text shows somewhere in the window. Otherwise the control's items, exactly.
    const char* control;
    QStringList texts;
};

const QString kAny = QStringLiteral("**");

const std::vector<Shown> kShown = {
    {"reset",
     "",
     {"?", "本アプリのレジストリを削除し、設定内容を初期化します。", "OK", "キャンセル"}},
    {"close question",
     "",
     {"?", "起動時にレジストリが削除されています。OKを選ぶと現在の設定内容を保存します。", "OK",
      "キャンセル"}},
    {"schedules",
     "",
     {"予定設定", "予定を設定してください", "この予定を使用する", "日付", "月", "日", "時", "分",
      "サウンド", "メッセージ", "設定", "キャンセル"}},
    {"schedules", "TabControl1", {"予定1", "予定2", "予定3"}},
    {"schedules", "Tuki", QStringList{kAny} + numbers(1, 12)},
    {"schedules", "Hi", QStringList{kAny} + numbers(1, 31)},
    {"schedules", "Ji", numbers(0, 23)},
    {"schedules", "Hun", numbers(0, 55, 5)},
    {"schedules",
     "SoundList",
     {"なし", "お時間ですよ", "おはようございます", "大好きです", "１０分前です"}},
    {"anniversaries",
     "",
     {"記念日設定", "記念日を設定してください", "この記念日を使用する", "日付", "月", "日",
      "サウンド", "メッセージ", "設定", "キャンセル"}},
    {"anniversaries", "TabControl1", {"記念日1", "記念日2", "記念日3"}},
    {"anniversaries", "Tuki", QStringList{kAny} + numbers(1, 12)},
    {"anniversaries", "Hi", numbers(1, 31)},
    {"anniversaries",
     "SoundList",
     {"なし", "お誕生日、おめでとうございます", "今日はお休みですね", "今日は大切な記念日ですね"}},
    {"balloon", "", {"閉じる", "記念日です", "[00.00 00:00]"}},
    // Her debug controls, shown only in the debug mode.
    {"stage", "", {"Message", "Face", "泣く", "笑顔"}},
};

class StageTexts : public StageFixture {};

TEST_F(StageTexts, EveryWindowShowsItsTextsExactly) {
    StageSettings stored;
    store(stored);
    std::map<QString, QStringList> said;
    std::map<QString, std::map<QString, QStringList>> items;
    // A reset at start, confirmed, is asked about again at the close.
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    {
        DialogAnswerer answerer(QStringLiteral("OK"));
        start();
        ASSERT_EQ(answerer.texts.size(), 1u) << "no reset offered";
        said["reset"] = answerer.texts[0] << answerer.titles[0];
    }
    keys.held = {};
    for (const char* name : {"schedules", "anniversaries"}) {
        QAction* item = QLatin1String(name) == QLatin1String("schedules") ? menu->MIScheduleSet
                                                                          : menu->MIMemorialSet;
        pickModal(item, [&](QDialog& dialog) {
            said[name] = textsOf(dialog);
            for (const Shown& row : kShown)
                if (QLatin1String(row.window) == QLatin1String(name) && *row.control)
                    items[name][row.control] = itemsOf(dialog, row.control);
        });
    }
    said["balloon"] = textsOf(*balloon);
    said["stage"] = textsOf(*stage);
    {
        DialogAnswerer answerer(QStringLiteral("キャンセル"));
        stage->close();
        ASSERT_EQ(answerer.texts.size(), 1u) << "no question at the close";
        said["close question"] = answerer.texts[0] << answerer.titles[0];
    }

    for (const Shown& row : kShown) {
        if (*row.control) {
            EXPECT_EQ(items[row.window][row.control], row.texts)
                << row.window << ": " << row.control;
            continue;
        }
        for (const QString& text : row.texts)
            EXPECT_TRUE(said[row.window].contains(text))
                << row.window << " does not show \"" << text.toStdString() << "\" among \""
                << said[row.window].join("\", \"").toStdString() << '"';
    }
}

} // namespace
