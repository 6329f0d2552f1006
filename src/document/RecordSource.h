#pragma once
// Where the document takes the record of an entry it opens. By default it loads the file
// when it opens it; a batch run that knows the order of the opens installs a
// CRecordPrefetch, which reads and decodes the next files on worker threads while the
// document analyses the current one. Either way the document sees the same record and
// shows the same load message, at the same point of its sequence.

#include "platform/OrderedPrefetch.h"
#include "records/LoadedRecord.h"

#include <string>
#include <vector>

namespace mirado {

class CMiradoDoc;

class IRecordSource {
public:
    virtual ~IRecordSource() = default;
    virtual LoadedRecord Take(const std::string& path) = 0;
};

// Loads the records of the paths, in this order, ahead on jobs threads (the caller's thread,
// which analyses, among them). Take hands out the next record when it is the one for the
// path asked for; any other path is loaded there and then.
class CRecordPrefetch : public IRecordSource {
public:
    CRecordPrefetch(std::vector<std::string> paths, unsigned jobs);
    LoadedRecord Take(const std::string& path) override;

private:
    std::vector<std::string> paths_;
    COrderedPrefetch<LoadedRecord> prefetch_;
};

// The paths of the document's file list, in list order.
std::vector<std::string> ListedPaths(const CMiradoDoc& doc);

} // namespace mirado
