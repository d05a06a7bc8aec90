#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace uzuviv {

namespace {

// Qt's file for a language, without the folder and the ".qm".
const char* QtFileName(std::uint8_t languageIndex)
{
    switch (languageIndex) {
    case 1: return "qtbase_fr";
    case 3: return "qtbase_es";
    case 4: return "qtbase_de";
    case 5: return "qtbase_it";
    default: return "qtbase_en";
    }
}

// Qt's translation, minus the key names: menu shortcuts read "Ctrl+", "Maj+", "Suppr" in every
// language, so the translator that holds those names must be the one that answers.
class QtOwnTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        if (qstrcmp(context, "QShortcut") == 0)
            return {};
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
};

} // namespace

void LoadQtTranslations(std::uint8_t languageIndex)
{
    static QPointer<QtOwnTexts> current;
    static std::uint8_t loadedLanguage = 0;
    if (current != nullptr && loadedLanguage == languageIndex)
        return;
    if (current != nullptr) {
        QCoreApplication::removeTranslator(current);
        delete current.data();
    }
    loadedLanguage = languageIndex;
    auto* translator = new QtOwnTexts(QCoreApplication::instance());
    if (!translator->load(QString::fromLatin1(QtFileName(languageIndex)),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    current = translator;
    // Every widget that shows Qt's texts now relabels itself (LanguageChange).
    QCoreApplication::installTranslator(current);
}

} // namespace uzuviv
