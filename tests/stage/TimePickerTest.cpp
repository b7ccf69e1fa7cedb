#include "stage/TimePicker.h"
#include "support/fixtures/TestApplication.h"

#include <QTimeEdit>
#include <gtest/gtest.h>
#include <vector>

TEST(TimePicker, MakesItsEditorWhenFirstShownAndPassesItsTimeOn) {
    testApplication();
    QWidget window;
    auto* picker = new TimePicker(&window);
    picker->setGeometry(48, 160, 65, 20);
    picker->setDisplayFormat(QStringLiteral("H:mm:ss"));
    picker->hide();
    window.show();
    // Hidden, it has made nothing that lays out text.
    EXPECT_EQ(picker->editor(), nullptr);
    EXPECT_EQ(picker->findChild<QTimeEdit*>(), nullptr);

    std::vector<QTime> changes;
    QObject::connect(picker, &TimePicker::timeChanged,
                     [&changes](QTime time) { changes.push_back(time); });
    picker->setTime(QTime(3, 0));
    picker->show();
    QTimeEdit* editor = picker->editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->displayFormat(), QStringLiteral("H:mm:ss"));
    EXPECT_EQ(editor->time(), QTime(3, 0));
    EXPECT_EQ(editor->geometry(), QRect(0, 0, 65, 20));

    // What the user edits reaches whoever listens, as the debug time does the dial.
    editor->setTime(QTime(14, 25, 30));
    EXPECT_EQ(picker->time(), QTime(14, 25, 30));
    EXPECT_EQ(changes, (std::vector<QTime>{QTime(3, 0), QTime(14, 25, 30)}));
    // Shown again, it keeps the one editor.
    picker->hide();
    picker->show();
    EXPECT_EQ(picker->findChildren<QTimeEdit*>().size(), 1);
}
