// Loads arbitrary bytes as a measurement file. A record that loads is also saved to
// memory and loaded again: the second save must give the same bytes. Both analyses run
// on every record that loads.

#include "records/AdData.h"
#include "records/AnalysisSequence.h"
#include "records/TextEncoding.h"

#include <cstdlib>
#include <memory>

namespace {

void ReadEveryText(const mirado::CAdData& data) {
    for (const std::string& text : {data.GetAnimalNo(), data.GetStudyNo(), data.GetWeight(),
                                    data.GetSexAge(), data.GetComment(), data.GetDateTime()})
        mirado::Cp932ToUtf8(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    auto data = std::make_unique<mirado::CAdData>();
    int modelCode = 0;
    const bool loaded = data->LoadFromBytes("fuzz", bytes, size, modelCode, nullptr).ok();
    ReadEveryText(*data);
    if (!loaded)
        return 0;
    // Both analyses on every recording that loads, the records kept from input to input
    // as the window keeps them.
    static const auto records = std::make_unique<mirado::AnalysisRecords>();
    records->AnalyzeBoth(*data);
    const std::string saved = data->SerializedBytes();
    auto reloaded = std::make_unique<mirado::CAdData>();
    if (!reloaded
             ->LoadFromBytes("fuzz", reinterpret_cast<const uint8_t*>(saved.data()), saved.size(),
                             modelCode, nullptr)
             .ok() ||
        reloaded->SerializedBytes() != saved)
        std::abort();
    return 0;
}
