#include "rendering/FontSubstitutions.h"

#include <QFont>

namespace mirado {

void InstallFontSubstitutions() {
    struct Substitution {
        const char* requested; // UTF-8
        const char* installed;
    };
    static const Substitution kSubstitutions[] = {
        {"ＭＳ ゴシック", "IPAGothic"},
        {"Courier New", "Liberation Mono"},
        {"Times New Roman", "Liberation Serif"},
    };
    for (const Substitution& s : kSubstitutions)
        QFont::insertSubstitution(QString::fromUtf8(s.requested), QString::fromUtf8(s.installed));
}

} // namespace mirado
