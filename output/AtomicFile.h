// An output file that a failed or interrupted run never leaves half-written:
// the bytes go to a temporary file in the same folder, which is synced and
// renamed over the old file only when everything was written. "-" is
// standard output; a device such as /dev/null holds nothing to keep and is
// written directly. Plain POSIX, the one home of this rule.
#pragma once

#include <cstddef>
#include <string>

namespace mosaiko {

class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();  // not committed: the temporary file is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open();
    // The descriptor to write to, once open; it stays owned by this object.
    int Descriptor() const { return fd_; }
    // Writes all bytes, going on after short writes and interruptions.
    bool Write(const char* data, std::size_t size);
    // Syncs and renames over the old file; false keeps the old one.
    bool Commit();
    // Gives up with `reason`: the temporary file goes, the old file stays.
    bool Fail(std::string reason);

    // The file as a message names it: its path, or "standard output".
    std::string Name() const;
    // Why Open, Write or Commit failed, in the system's words.
    const std::string& Error() const { return error_; }

private:
    void Discard();

    std::string path_;
    std::string temp_;  // empty: written in place (standard output, a device)
    int fd_ = -1;
    bool ownsFd_ = false;
    std::string error_;
};

}  // namespace mosaiko
