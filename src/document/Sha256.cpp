#include "document/Sha256.h"

#include "files/FileAccess.h"
#include "records/TextEncoding.h"

#include <nettle/sha2.h>

#include <cstdint>
#include <vector>

namespace mirado {

std::string Sha256Hex(std::string_view bytes) {
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context, sizeof digest, digest);
    return HexBytes(std::string_view(reinterpret_cast<const char*>(digest), sizeof digest));
}

Result<std::string> FileSha256Hex(const std::string& path) {
    const Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
    if (!read.ok())
        return Fail(read.error());
    const std::vector<uint8_t>& bytes = read.value();
    return Sha256Hex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace mirado
