#include "session/Language.h"

#include <QFile>
#include <QTranslator>

namespace session {

namespace {

// Where CMake builds the translations in, as wirtola_<language>.qm.
constexpr char TranslationFolder[] = ":/i18n/wirtola_";
constexpr char SourceLanguage[] = "pl";

} // namespace

QString TranslationFile(const QStringList& uiLanguages)
{
    for (const QString& tag : uiLanguages) {
        // "en-GB" may have its own file; "en" serves every English.
        QString full = tag;
        full.replace(QLatin1Char('-'), QLatin1Char('_'));
        const QString language = full.section(QLatin1Char('_'), 0, 0).toLower();
        if (language == QLatin1String(SourceLanguage))
            return {};
        for (const QString& name : {full, language}) {
            const QString file = QLatin1String(TranslationFolder) + name + QStringLiteral(".qm");
            if (!name.isEmpty() && QFile::exists(file))
                return file;
        }
    }
    return {};
}

bool LoadTranslation(QTranslator& translator, const QStringList& uiLanguages)
{
    const QString file = TranslationFile(uiLanguages);
    return !file.isEmpty() && translator.load(file);
}

} // namespace session
