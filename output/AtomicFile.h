// An output file that a failed or interrupted run never leaves half-written:
// the bytes go to a temporary file in the same folder, which is synced and
// renamed over the old file only when everything was written. "-" is
// standard output; a device such as /dev/null holds nothing to keep and is
// written directly. A symbolic link is followed: its target is replaced. A
// file with several hard links keeps them: the finished bytes are copied
// into it. A temporary file left by a run killed outright carries that run's
// pid and goes with the next run into the same folder. Plain POSIX, the one
// home of this rule.
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

    // True when `a` and `b` name one existing file, through any link.
    static bool SameFile(const std::string& a, const std::string& b);

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
    bool CopyIntoTarget();

    std::string path_;
    std::string target_;  // path_ with its symbolic links followed
    std::string temp_;  // empty: written in place (standard output, a device)
    int fd_ = -1;
    bool ownsFd_ = false;
    bool hardLinked_ = false;
    std::string error_;
};

}  // namespace mosaiko
