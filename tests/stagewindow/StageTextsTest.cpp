// Every text she shows in her windows, menus and dialogs, read through their widgets in each
// of her languages and compared with one table written from what the user is to read; and
// each text fits the control that shows it.
#include "stage/UiLanguage.h"
#include "support/fixtures/DialogAnswerer.h"
#include "support/fixtures/QtPrinters.h"
#include "support/fixtures/StageFixture.h"
#include "support/fixtures/WidgetTexts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QStyle>
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
    for (const QListWidget* list : window.findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    return texts;
}

// The items of one list or the tabs of one tab control, in order.
QStringList itemsOf(const QWidget& window, const QString& name) {
    return itemsOf(window.findChild<QWidget*>(name));
}

// The captions of a menu and of its submenus.
QStringList captionsOf(const QMenu& menu) {
    QStringList captions;
    for (const QAction* item : menu.actions()) {
        captions << item->text();
        if (item->menu())
            captions << captionsOf(*item->menu());
    }
    return captions;
}

// The texts that their labels, buttons and tabs cut off.
QStringList clippedIn(const QWidget& window) {
    QStringList clipped;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const bool fits = label->wordWrap()
                              ? label->heightForWidth(label->width()) <= label->height()
                              : label->sizeHint().width() <= label->width();
        if (!label->text().isEmpty() && !fits)
            clipped << label->text();
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        int needs = button->fontMetrics().horizontalAdvance(
            QString(button->text()).remove(QLatin1Char('&')));
        if (qobject_cast<const QCheckBox*>(button))
            needs += button->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                     button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        if (needs > button->width())
            clipped << button->text();
    }
    for (const QTabBar* tabs : window.findChildren<QTabBar*>())
        if (tabs->sizeHint().width() > tabs->parentWidget()->width())
            clipped << itemsOf(tabs->parentWidget()).join(", ");
    return clipped;
}

struct Shown {
    const char* window;
    // Empty: each text shows somewhere in the window. Otherwise the control's items, exactly.
    const char* control;
    QStringList japanese;
    QStringList english;
};

const QString kAny = QStringLiteral("**");

const std::vector<Shown> kShown = {
    {"reset",
     "",
     {"?", "本アプリのレジストリを削除し、設定内容を初期化します。", "OK", "キャンセル"},
     {"?", "This deletes the program's stored settings and starts again with the defaults.", "OK",
      "Cancel"}},
    {"close question",
     "",
     {"?", "起動時にレジストリが削除されています。OKを選ぶと現在の設定内容を保存します。", "OK",
      "キャンセル"},
     {"?", "The stored settings were deleted at start-up. Choose OK to save the current settings.",
      "OK", "Cancel"}},
    {"menu",
     "",
     {"バージョン情報...(&A)",
      "デバッグモード",
      "スレッドの使用頻度",
      "アイドル時のみ",
      "最低",
      "低",
      "通常",
      "高",
      "最高",
      "常に一番手前に表示(&S)",
      "デジタル表示(&D)",
      "12時間制[デジタル表示時](&H)",
      "記念日設定...",
      "予定設定...",
      "寂しくても我慢",
      "とても寂しいです",
      "ちょっと寂しいです",
      "お待ちしております",
      "我慢いたします",
      "辛抱いたします",
      "平気です[オフ]",
      "終了(&X)"},
     {"&About...",
      "Debug Mode",
      "Clock Thread Priority",
      "Only When Idle",
      "Lowest",
      "Low",
      "Normal",
      "High",
      "Highest",
      "&Stay on Top",
      "&Digital Display",
      "12-&Hour Clock [Digital Display]",
      "Anniversaries...",
      "Schedules...",
      "Patient When Lonely",
      "I'm Very Lonely",
      "I'm a Little Lonely",
      "I'll Be Waiting",
      "I'll Bear It",
      "I'll Endure It",
      "I'm Fine [Off]",
      "E&xit"}},
    {"about",
     "",
     {"バージョン情報", "Hourling ミオラちゃん時計", "Version " HOURLING_VERSION,
      "左ボタンで彼女を好きな場所へ動かし、右ボタンでメニューを開きます。設定は終了するときに"
      "保存されます。",
      "OK"},
     {"About", "Hourling", "Version " HOURLING_VERSION,
      "Drag her anywhere with the left button; the right button opens her menu. Her settings are "
      "saved when she closes.",
      "OK"}},
    {"schedules",
     "",
     {"予定設定", "予定を設定してください", "この予定を使用する", "日付", "月", "日", "時", "分",
      "サウンド", "メッセージ", "設定", "キャンセル"},
     {"Schedules", "Please set your schedules.", "Use this schedule", "Date", "month", "day", "h",
      "min", "Sound", "Message", "OK", "Cancel"}},
    {"schedules",
     "TabControl1",
     {"予定1", "予定2", "予定3"},
     {"Schedule 1", "Schedule 2", "Schedule 3"}},
    {"schedules", "Tuki", QStringList{kAny} + numbers(1, 12), QStringList{kAny} + numbers(1, 12)},
    {"schedules", "Hi", QStringList{kAny} + numbers(1, 31), QStringList{kAny} + numbers(1, 31)},
    {"schedules", "Ji", numbers(0, 23), numbers(0, 23)},
    {"schedules", "Hun", numbers(0, 55, 5), numbers(0, 55, 5)},
    {"schedules",
     "SoundList",
     {"なし", "お時間ですよ", "おはようございます", "大好きです", "１０分前です"},
     {"None", "It's time!", "Good morning!", "I love you!", "Ten minutes to go!"}},
    {"anniversaries",
     "",
     {"記念日設定", "記念日を設定してください", "この記念日を使用する", "日付", "月", "日",
      "サウンド", "メッセージ", "設定", "キャンセル"},
     {"Anniversaries", "Please set your anniversaries.", "Use this anniversary", "Date", "month",
      "day", "Sound", "Message", "OK", "Cancel"}},
    {"anniversaries",
     "TabControl1",
     {"記念日1", "記念日2", "記念日3"},
     {"Anniversary 1", "Anniversary 2", "Anniversary 3"}},
    {"anniversaries", "Tuki", QStringList{kAny} + numbers(1, 12),
     QStringList{kAny} + numbers(1, 12)},
    {"anniversaries", "Hi", numbers(1, 31), numbers(1, 31)},
    {"anniversaries",
     "SoundList",
     {"なし", "お誕生日、おめでとうございます", "今日はお休みですね", "今日は大切な記念日ですね"},
     {"None", "Happy birthday!", "It's your day off today!", "Today is an important day!"}},
    {"balloon",
     "",
     {"閉じる", "記念日です", "[00.00 00:00]"},
     {"Close", "It's an anniversary", "[00.00 00:00]"}},
    // Her debug controls, shown only in the debug mode, and her default messages.
    {"stage",
     "",
     {"Message", "Face", "泣く", "笑顔", "記念日です。", "予定の時間になりました。"},
     {"Message", "Face", "Cry", "Smile", "It's an anniversary.", "It's time for your schedule."}},
};

class StageTexts : public StageFixture, public ::testing::WithParamInterface<const char*> {
protected:
    bool english() const { return QLatin1String(GetParam()) == QLatin1String("en"); }
};

TEST_P(StageTexts, EveryWindowShowsItsTextsExactlyAndWhole) {
    const UiLanguage language({QLatin1String(GetParam())});
    ASSERT_EQ(language.name(), QLatin1String(GetParam()));
    const QString cancel = english() ? QStringLiteral("Cancel") : QStringLiteral("キャンセル");
    StageSettings stored;
    store(stored);
    std::map<QString, QStringList> said;
    std::map<QString, QStringList> clipped;
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
    said["menu"] = captionsOf(*menu);
    const std::pair<const char*, QAction*> dialogs[] = {{"schedules", item("MIScheduleSet")},
                                                        {"anniversaries", item("MIMemorialSet")},
                                                        {"about", item("About1")}};
    for (const auto& [name, item] : dialogs) {
        pickModal(item, [&](QDialog& dialog) {
            said[name] = textsOf(dialog);
            clipped[name] = clippedIn(dialog);
            for (const Shown& row : kShown)
                if (QLatin1String(row.window) == QLatin1String(name) && *row.control)
                    items[name][row.control] = itemsOf(dialog, row.control);
        });
    }
    for (const auto& [name, window] :
         {std::pair<const char*, QWidget*>{"balloon", balloon}, {"stage", stage.get()}}) {
        said[name] = textsOf(*window);
        clipped[name] = clippedIn(*window);
    }
    {
        DialogAnswerer answerer(cancel);
        stage->close();
        ASSERT_EQ(answerer.texts.size(), 1u) << "no question at the close";
        said["close question"] = answerer.texts[0] << answerer.titles[0];
    }

    for (const Shown& row : kShown) {
        const QStringList& texts = english() ? row.english : row.japanese;
        if (*row.control) {
            EXPECT_EQ(items[row.window][row.control], texts) << row.window << ": " << row.control;
            continue;
        }
        for (const QString& text : texts)
            EXPECT_TRUE(said[row.window].contains(text))
                << row.window << " does not show \"" << text.toStdString() << "\" among \""
                << said[row.window].join("\", \"").toStdString() << '"';
        EXPECT_TRUE(clipped[row.window].isEmpty())
            << row.window << " cuts off \"" << clipped[row.window].join("\", \"").toStdString()
            << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, StageTexts, ::testing::Values("ja", "en"));

// A Japanese text in the sources that bypasses the translations shows in every language.
TEST(StageTextsInTheSources, EveryJapaneseTextGoesThroughTheTranslations) {
    const QRegularExpression literal(QStringLiteral(R"("(?:[^"\\\n]|\\.)*")"));
    const QRegularExpression japanese(QStringLiteral(R"([\p{Hiragana}\p{Katakana}\p{Han}])"));
    // Opened by a call to the translations, after any literals it is joined to.
    const QRegularExpression translated(QStringLiteral(
        R"((\btr\(|QT_TR_NOOP\(|(translate|QT_TRANSLATE_NOOP)\(\s*"[^"]*",)\s*("(?:[^"\\\n]|\\.)*"\s*)*$)"));
    // Her font's name, as the system gives it.
    const QString kept = QStringLiteral("\"ＭＳ Ｐゴシック\"");
    QDirIterator files(QStringLiteral(HOURLING_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto found = literal.globalMatch(text); found.hasNext();) {
            const auto match = found.next();
            const QString before = text.mid(0, match.capturedStart()).right(2000);
            if (match.captured().contains(japanese) && match.captured() != kept) {
                EXPECT_TRUE(translated.match(before).hasMatch())
                    << file.fileName().toStdString() << ": " << match.captured().toStdString();
            }
        }
    }
}

} // namespace
