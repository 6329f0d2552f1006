#include "views/ViewingTexts.h"

#include "document/MiradoDoc.h"

#include <QCoreApplication>
#include <QStringList>

namespace mirado {

QString ReadoutText(const PointerReadout& readout) {
    QStringList parts;
    if (readout.milliseconds)
        parts << QCoreApplication::translate("CWaveView", "%1 s")
                     .arg(QString::fromStdString(FormatSeconds(*readout.milliseconds)));
    parts << QCoreApplication::translate("CWaveView", "sample %1").arg(readout.sample);
    if (readout.cuffMmHg)
        parts << QCoreApplication::translate("CWaveView", "%1 mmHg").arg(*readout.cuffMmHg);
    if (readout.optical)
        parts << QCoreApplication::translate("CWaveView", "optical %1").arg(*readout.optical);
    return parts.join(QStringLiteral("   "));
}

ScaleLabelOptions ScaleLabelOptionsOf(const CMiradoDoc& doc) {
    ScaleLabelOptions options;
    options.shown = doc.GetMiradoSettings().GetScaleLabels();
    options.secondsUnit = QCoreApplication::translate("CWaveView", "s").toStdString();
    options.pressureUnit = QCoreApplication::translate("CWaveView", "mmHg").toStdString();
    return options;
}

} // namespace mirado
