#include "program/Language.h"

#include "windows/LanguageFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>

namespace program {

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
            break;
        for (const QString& name : {full, language}) {
            const QString file = QLatin1String(TranslationFolder) + name + QStringLiteral(".qm");
            if (!name.isEmpty() && QFile::exists(file))
                return file;
        }
    }
    // Polish, the source language, needs only its plural forms.
    return QLatin1String(TranslationFolder) + QLatin1String(SourceLanguage) + QStringLiteral(".qm");
}

bool LoadTranslation(QTranslator& translator, const QStringList& uiLanguages)
{
    const QString file = TranslationFile(uiLanguages);
    return !file.isEmpty() && translator.load(file);
}

QString FileLanguage(const QString& translationFile)
{
    return QFileInfo(translationFile).completeBaseName().section(QLatin1Char('_'), 1);
}

QString QtTranslationFile(const QStringList& uiLanguages)
{
    // "wirtola_en_GB.qm" speaks "en_GB"; no file at all, the source language.
    const QString language = FileLanguage(TranslationFile(uiLanguages));
    if (language.section(QLatin1Char('_'), 0, 0) == QLatin1String("en"))
        return {};
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_");
    for (const QString& name : {language, language.section(QLatin1Char('_'), 0, 0)})
        if (QFile::exists(folder + name + QStringLiteral(".qm")))
            return folder + name + QStringLiteral(".qm");
    return {};
}

Translations::Translations(const QStringList& uiLanguages)
    : previousLanguage_(SpokenLanguage())
{
    game_ = LoadTranslation(gameTranslator_, uiLanguages) && QCoreApplication::installTranslator(&gameTranslator_);
    const QString language = FileLanguage(TranslationFile(uiLanguages));
    SpokenLanguage() = game_ && language != QLatin1String(SourceLanguage) ? language : QString();
    const QString qtFile = QtTranslationFile(uiLanguages);
    qt_ = !qtFile.isEmpty() && qtTranslator_.load(qtFile) && QCoreApplication::installTranslator(&qtTranslator_);
}

Translations::~Translations()
{
    SpokenLanguage() = previousLanguage_;
    if (qt_)
        QCoreApplication::removeTranslator(&qtTranslator_);
    if (game_)
        QCoreApplication::removeTranslator(&gameTranslator_);
}

} // namespace program
