#include "support/GuiTestSupport.h"

#include "records/synth/RecordingGenerator.h"

#include <QString>

#include <gtest/gtest.h>

namespace mirado::test {

std::vector<std::string> WriteRecordings(const TempFolder& dir, int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        SynthOptions options;
        options.seed = static_cast<uint64_t>(i + 1);
        const std::string path =
            dir.File(QStringLiteral("R%1.001").arg(i, 3, 10, QLatin1Char('0')).toStdString());
        const Result<void> written = WriteRecording(path, options);
        EXPECT_TRUE(written.ok()) << written.error();
        paths.push_back(path);
    }
    return paths;
}

ScriptedDocument::ScriptedDocument() {
    DocumentServices services;
    services.prompts = &prompts;
    doc = std::make_unique<CMiradoDoc>(services);
}

} // namespace mirado::test
