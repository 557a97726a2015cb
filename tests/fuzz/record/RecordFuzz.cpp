// Feeds arbitrary bytes to every reader of the record, as the file a person may have edited or
// a disk damaged: printed as --history prints it, opened by the game (which sets aside what it
// cannot use), its running totals read and one row added. The bytes also go to the reader of
// the kept totals. Nothing may crash, leak, hang or size an allocation by what the file says.

#include "scores/History.h"
#include "scores/Tally.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

const std::string& Folder()
{
    static const std::string folder = [] {
        char name[] = "/tmp/wirtola-record-fuzz-XXXXXX";
        return std::string(mkdtemp(name) ? name : "/tmp");
    }();
    return folder;
}

void Clear(const std::string& folder)
{
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.') {
                unlink((folder + "/" + entry->d_name).c_str());
            }
        }
        closedir(dir);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    scores::history::Tallier restored;
    if (restored.Restore(bytes)) {
        restored.Add({.kind = scores::history::Kind::Round, .moved = 10, .fund = 3010, .wins = 1});
        (void)restored.Saved();
    }

    const std::string& folder = Folder();
    Clear(folder);
    const std::string path = folder + "/wirtola.history";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    std::FILE* sink = std::fopen("/dev/null", "w");
    scores::history::WriteCsvHeader(sink);
    scores::history::ReadHistory(path,
                                 [sink](const scores::history::Entry& e) { scores::history::WriteCsvRow(sink, e); });
    std::fclose(sink);

    scores::history::History history(path);
    history.Open({});
    (void)history.Totals().tallies();
    history.Append({.time = 1, .kind = scores::history::Kind::Loan, .fund = 3000});
    return 0;
}
