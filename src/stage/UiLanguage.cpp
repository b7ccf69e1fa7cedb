#include "stage/UiLanguage.h"

#include <QCoreApplication>

namespace {
const QString kDirectory = QStringLiteral(":/i18n");
const QString kFallback = QStringLiteral("hourling_en");
int installed = 0;
} // namespace

UiLanguage::UiLanguage(const QStringList& sessionLanguages) {
    bool found = false;
    for (const QString& name : sessionLanguages) {
        const QLocale wanted(name);
        if (wanted.language() == QLocale::Japanese)
            return;
        // A file started for a language but not yet translated holds nothing to show.
        if (translator_.load(wanted, QStringLiteral("hourling"), QStringLiteral("_"), kDirectory) &&
            !translator_.isEmpty()) {
            found = true;
            break;
        }
    }
    if (!found && !translator_.load(kFallback, kDirectory))
        return;
    translated_ = QCoreApplication::installTranslator(&translator_);
    if (!translated_)
        return;
    ++installed;
    // Month names and the morning and afternoon words follow the language of the texts, and
    // the session's own customs where its language is that one.
    const QLocale texts(translator_.language());
    if (QLocale().language() != texts.language()) {
        previousDefault_ = QLocale();
        QLocale::setDefault(texts);
    }
}

UiLanguage::~UiLanguage() {
    if (previousDefault_)
        QLocale::setDefault(*previousDefault_);
    if (translated_) {
        QCoreApplication::removeTranslator(&translator_);
        --installed;
    }
}

QString UiLanguage::name() const {
    return translated_ ? translator_.language() : QStringLiteral("ja");
}

bool UiLanguage::active() {
    return installed > 0;
}
