#include "app/UiTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

// The catalogue is compiled into this static library; its resource is registered
// explicitly because nothing references it otherwise.
static void InitTranslationResources() {
    Q_INIT_RESOURCE(mirado_translations);
}

namespace mirado {

CUiTranslation::CUiTranslation(UiLanguage language) : language_(language) {
    if (language != UiLanguage::Japanese)
        return;
    InitTranslationResources();
    Install(QStringLiteral("mirado_ja"), QStringLiteral(":/i18n"));
    Install(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

CUiTranslation::~CUiTranslation() {
    for (const std::unique_ptr<QTranslator>& translator : translators_)
        QCoreApplication::removeTranslator(translator.get());
}

void CUiTranslation::Install(const QString& file, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    // A missing catalogue leaves those texts in English.
    if (!translator->load(file, folder))
        return;
    QCoreApplication::installTranslator(translator.get());
    translators_.push_back(std::move(translator));
}

} // namespace mirado
