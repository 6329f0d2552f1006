#pragma once
// CUiTranslation: the translations of the window's texts for one language, installed on
// the application while the object lives. English needs none: the texts in the code are
// the English ones. Japanese loads the program's own catalogue (compiled into the
// program) and Qt's own for its standard dialogs and buttons.

#include "document/MiradoSettings.h"

#include <memory>
#include <vector>

class QString;
class QTranslator;

namespace mirado {

class CUiTranslation {
public:
    explicit CUiTranslation(UiLanguage language);
    ~CUiTranslation();
    CUiTranslation(const CUiTranslation&) = delete;
    CUiTranslation& operator=(const CUiTranslation&) = delete;

    UiLanguage Language() const { return language_; }

private:
    void Install(const QString& file, const QString& folder);

    UiLanguage language_;
    std::vector<std::unique_ptr<QTranslator>> translators_;
};

} // namespace mirado
