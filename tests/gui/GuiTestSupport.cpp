#include "GuiTestSupport.h"

#include "records/synth/RecordingGenerator.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace mirado::test {

void EnsureApplication() {
    if (QApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

std::vector<std::string> WriteRecordings(const QTemporaryDir& dir, int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        SynthOptions options;
        options.seed = static_cast<uint64_t>(i + 1);
        const std::string path =
            dir.filePath(QStringLiteral("R%1.001").arg(i, 3, 10, QLatin1Char('0'))).toStdString();
        std::string error;
        EXPECT_TRUE(WriteRecording(path, options, error)) << error;
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
