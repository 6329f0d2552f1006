#include "views/ViewingTexts.h"

#include "document/MiradoDoc.h"
#include "platform/qtcore/UiText.h"

#include <QCoreApplication>
#include <QStringList>

namespace mirado {

QString ReadoutText(const PointerReadout& readout) {
    QStringList parts;
    if (readout.milliseconds)
        parts << UiText("%1 s").arg(QString::fromStdString(FormatSeconds(*readout.milliseconds)));
    parts << UiText("sample %1").arg(readout.sample);
    if (readout.cuffMmHg)
        parts << UiText("%1 mmHg").arg(*readout.cuffMmHg);
    if (readout.optical)
        parts << UiText("optical %1").arg(*readout.optical);
    return parts.join(QStringLiteral("   "));
}

ScaleLabelOptions ScaleLabelOptionsOf(const CMiradoDoc& doc) {
    ScaleLabelOptions options;
    options.shown = doc.GetMiradoSettings().GetScaleLabels();
    options.secondsUnit = UiText("s").toStdString();
    options.pressureUnit = UiText("mmHg").toStdString();
    return options;
}

} // namespace mirado
