#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <optional>

// The language her texts are shown in, chosen from the session's languages in their order
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as Qt reads them): Japanese, which her texts are
// written in, needs no translation; any other language takes the translation built in for
// it, or English when there is none. Installed into the application while it lives; build
// it before the windows, whose forms translate their texts as they are set up.
class UiLanguage {
public:
    explicit UiLanguage(const QStringList& sessionLanguages = QLocale::system().uiLanguages());
    ~UiLanguage();
    UiLanguage(const UiLanguage&) = delete;
    UiLanguage& operator=(const UiLanguage&) = delete;

    // "ja", or the language of the translation in use ("en").
    QString name() const;
    bool translated() const { return translated_; }
    // Whether the texts now shown come from a translation; for widgets that fit themselves
    // to longer texts than the Japanese.
    static bool active();

private:
    QTranslator translator_;
    bool translated_ = false;
    // The locale that dates and times were formatted in before, when this one changed it.
    std::optional<QLocale> previousDefault_;
};
