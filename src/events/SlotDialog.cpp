#include "events/SlotDialog.h"

#include "events/TabControl.h"
#include "events/TranslatedLayout.h"
#include "shared/UiFont.h"
#include "stage/CentreOver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTextDocument>

namespace {

// Position in a list, none for a value that has no item.
void selectPosition(QComboBox& list, int position) {
    list.setCurrentIndex(position >= 0 && position < list.count() ? position : -1);
}

// What the edit holds, its line breaks as "\n" and every other character as typed.
QString editorText(const QPlainTextEdit& edit) {
    QString text = edit.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// As much of a message as the edit is given: its layout of one long line without a place
// to break grows with the square of its length, and a message of a mebibyte would hold the
// dialog for minutes. The balloon shows a few hundred characters at most.
QString shownPart(const QString& message) {
    if (message.size() <= SlotDialog::kShownMessageLimit)
        return message;
    qsizetype length = SlotDialog::kShownMessageLimit;
    // Never half of a surrogate pair.
    if (message.at(length - 1).isHighSurrogate())
        --length;
    return message.left(length);
}

// The selected position; the first one when nothing is selected.
int positionOrFirst(const QComboBox& list) {
    return std::max(list.currentIndex(), 0);
}

} // namespace

void enableGroup(QGroupBox& group, bool enabled) {
    for (QWidget* control : group.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        control->setEnabled(enabled);
}

SlotDialog::SlotDialog(SlotDialogLink link, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      link_(std::move(link)) {}

void SlotDialog::setControls(const Controls& controls, int firstDay, const char* formContext,
                             std::span<const Clip> clips) {
    c_ = controls;
    firstDay_ = firstDay;
    setFont(uiFont());
    setFixedSize(320, 240);
    setModal(true);
    QPalette silver = c_.GroupBox1->palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    // The toolkit's greyed text would vanish on silver.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        silver.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    c_.GroupBox1->setPalette(silver);
    c_.GroupBox1->setAutoFillBackground(true);
    c_.SndSamplePlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    // The message's caption is a little wider than the room before its edit: drawn a little
    // closer, it stands clear of the group's edge.
    if (auto* caption = c_.GroupBox1->findChild<QLabel*>(QStringLiteral("Label8"))) {
        QFont closer = caption->font();
        closer.setLetterSpacing(QFont::PercentageSpacing, 92);
        caption->setFont(closer);
    }
    for (const Clip& clip : clips)
        c_.SoundList->addItem(QCoreApplication::translate(formContext, clip.caption),
                              QString::fromLatin1(clip.name));
    connect(c_.TabControl1, &TabControl::changing, this, &SlotDialog::TabControl1Changing);
    connect(c_.TabControl1, &TabControl::changed, this, &SlotDialog::TabControl1Change);
    connect(c_.UseFlagCB, &QCheckBox::toggled, this, &SlotDialog::UseFlagCBClick);
    connect(c_.SoundList, &QComboBox::currentIndexChanged, this, &SlotDialog::SoundListChange);
    connect(c_.SndSamplePlay, &QAbstractButton::clicked, this, &SlotDialog::SndSamplePlayClick);
    connect(c_.OKBtn, &QPushButton::clicked, this, &SlotDialog::OKBtnClick);
    connect(c_.CanBtn, &QPushButton::clicked, this, &QDialog::reject);
    fitTranslatedTexts(*this, c_);
    if (parentWidget())
        centreOver(*this, *parentWidget());
}

void SlotDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void SlotDialog::FormShow() {
    working_ = link_.read();
    c_.TabControl1->setCurrentIndex(0);
    loadTab();
}

void SlotDialog::loadTab() {
    const EventSlot& slot = working_[c_.TabControl1->currentIndex()];
    c_.UseFlagCB->setChecked(slot.used);
    selectPosition(*c_.Tuki, slot.month);
    selectPosition(*c_.Hi, slot.day - firstDay_);
    if (c_.Ji)
        selectPosition(*c_.Ji, slot.hour);
    // The list offers every fifth minute: another minute shows none.
    if (c_.Hun)
        c_.Hun->setCurrentIndex(c_.Hun->findText(QString::number(slot.minute), Qt::MatchExactly));
    int clip = 0;
    for (int i = 0; i < c_.SoundList->count(); ++i) {
        if (c_.SoundList->itemData(i).toString().compare(slot.clip, Qt::CaseInsensitive) == 0) {
            clip = i;
            break;
        }
    }
    c_.SoundList->setCurrentIndex(clip);
    const QString shown = shownPart(slot.message);
    c_.Message->setPlainText(shown);
    c_.Message->setToolTip(
        shown.size() == slot.message.size()
            ? QString()
            : tr("長いメッセージ（%1文字）の先頭%2文字だけを表示しています。"
                 "編集しなければメッセージはそのまま残り、編集すると表示されている"
                 "ところだけになります。")
                  .arg(slot.message.size())
                  .arg(shown.size()));
    shownMessage_ = editorText(*c_.Message);
    c_.SndSamplePlay->setEnabled(c_.SoundList->currentIndex() > 0);
    enableGroup(*c_.GroupBox1, slot.used);
}

void SlotDialog::storeTab() {
    EventSlot& slot = working_[c_.TabControl1->currentIndex()];
    slot.used = c_.UseFlagCB->isChecked();
    slot.month = positionOrFirst(*c_.Tuki);
    slot.day = positionOrFirst(*c_.Hi) + firstDay_;
    if (c_.Ji)
        slot.hour = positionOrFirst(*c_.Ji);
    // An item's text that reads no number gives 0.
    if (c_.Hun)
        slot.minute = c_.Hun->currentIndex() < 0 ? 0 : c_.Hun->currentText().toInt();
    slot.clip = clipAt(c_.SoundList->currentIndex());
    // A message left as it was keeps its characters exactly, "\r\n" included, which the
    // edit would otherwise give back as "\n", and the part of a long one the edit was not
    // given.
    const QString message = editorText(*c_.Message);
    if (message != shownMessage_)
        slot.message = message;
}

void SlotDialog::TabControl1Changing() {
    storeTab();
}

void SlotDialog::TabControl1Change() {
    loadTab();
}

void SlotDialog::UseFlagCBClick() {
    enableGroup(*c_.GroupBox1, c_.UseFlagCB->isChecked());
}

void SlotDialog::SoundListChange() {
    c_.SndSamplePlay->setEnabled(c_.SoundList->currentIndex() > 0);
}

void SlotDialog::SndSamplePlayClick() {
    link_.playVoice(clipAt(c_.SoundList->currentIndex()));
}

void SlotDialog::OKBtnClick() {
    storeTab();
    link_.commit(working_);
    accept();
}

QString SlotDialog::clipAt(int position) const {
    return c_.SoundList->itemData(std::max(position, 0)).toString();
}
