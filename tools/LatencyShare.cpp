// A file share for the tests and the benchmarks: serves a folder read-only through FUSE, makes every request
// that reaches it wait a fixed time, as a network round trip to a file server would, and counts the
// requests by kind.
//   latency_share SOURCE MOUNTPOINT DELAY_MS COUNTS_FILE [--page-cache | --no-cache] [--bandwidth=MBIT_PER_S]
//                 [--fail-after=N [--hold=SECONDS]] [--only=KIND,...] [--detail]
// Runs in the foreground until it is sent SIGTERM or SIGINT (or the folder is unmounted), then writes
// "kind count" lines to COUNTS_FILE, and "read-bytes N", the data that the read replies carried, and
// unmounts.
//
// By default it behaves as the Linux SMB client does towards a program:
// - a listing brings every entry's attributes (READDIRPLUS), and names and attributes stay cached for
//   one second (entry and attribute timeouts, also for names that do not exist);
// - a lookup of a name that a listing returned less than a second ago is answered without delay, as the
//   client answers it from its directory cache. Without this the kernel's own serialisation of lookups in
//   one folder would make every share look serial, whatever the program does;
// - many requests are served at once (the multithreaded loop, far more threads than libfuse's default 10,
//   and a raised limit of background requests such as read-ahead).
//
// --page-cache is the share as a Windows workstation's SMB client sees it when it holds leases, which is
// what matters for programs and DLLs: they are mapped, not read, and every page that the kernel drops
// must cross the network again.
// - A read lease lets the client keep a file's data across opens as long as the file does not change,
//   and nothing changes on this share: open replies with keep_cache (never direct_io), so pages read
//   once stay in the page cache for the rest of the mount. Without it every open of a file empties its
//   pages, and a loader that opens a DLL again re-reads what it already mapped.
// - Metadata is cached no longer than Windows' client caches it by default (LanmanWorkstation
//   parameters): a file's or folder's attributes 10 s (FileInfoCacheLifetime), a name that does not
//   exist 5 s (FileNotFoundCacheLifetime) and a folder's listing 10 s (DirectoryCacheLifetime): listings
//   are kept in the kernel (cache_readdir) and checked against the folder's attributes when those expire.
//   A lease would let the client trust an open file's attributes for as long as it is open; the fixed
//   lifetimes claim less.
// - Nothing stays cached beyond the mount: to measure a morning's first start, mount the share afresh.
//
// --no-cache is a client that keeps nothing (an SMB mount with actimeo=0): every name, listing and
// attribute, an open file's too, is asked of the server each time it is wanted.
//
// --bandwidth=MBIT_PER_S puts the read replies on one link of that speed: a read of N bytes waits the
// round trip and then N * 8 / bandwidth for its data. Reads in flight together queue for the link, as
// read-ahead's do on a real one, so the share never delivers more than the bandwidth.
//
// --fail-after=N is a server that goes away: every request that reaches it after the Nth fails with EIO
// (what the Linux SMB client answers once its connection is gone). With --hold=SECONDS each of those is
// first held that long, as by a server that has stopped answering and a client that waits for it (an
// SMB client waits about 60 s, a hard NFS mount for ever); a held request whose process ends is let go
// at once, as those clients let a killed process go. Answers from the kernel's caches go on.
//
// --only=KIND,... puts the delay and the faults on requests of those kinds alone (the names that
// COUNTS_FILE uses: lookup, getattr, open, read, opendir, readdir, ...); the others are answered at once
// and do not count towards --fail-after. A test makes one kind of request slow or failing with it: the
// listing part-way (--only=readdir --fail-after=1), a folder's attributes, the search for a name.
//
// --detail writes COUNTS_FILE-detail as well: "most-in-flight PROCESS N", the most requests that waited
// for the server at once, in all and by the name of the process that made them (are a program's requests
// really made in parallel?), and "KIND PROCESS N", the requests of each kind by process (what a program
// asks for, and what its runtime adds: under Wine, its server process opens and closes the files that a
// program asks for), then "at MS KIND PROCESS", each request with the wall-clock time it came at.

#define FUSE_USE_VERSION 312
#include <fuse_lowlevel.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr unsigned MaxThreads = 256;

std::chrono::microseconds delay;

// How long the kernel may keep what the share told it, in seconds.
struct CacheLifetimes
{
    double attributes; // a name's entry and its attributes
    double missing; // a name that does not exist
    double listing; // a folder's listing, and the names it returned
};
CacheLifetimes cache {1.0, 1.0, 1.0}; // the Linux SMB client's actimeo
constexpr CacheLifetimes WindowsClientCache {10.0, 5.0, 10.0};
constexpr CacheLifetimes NoClientCache {0.0, 0.0, 0.0};
bool pageCache = false;

// The link that read replies cross; no limit when bitsPerSecond is 0.
double bitsPerSecond = 0;
std::mutex linkMutex;
Clock::time_point linkFree;
std::atomic<long long> bytesRead;

// Requests by kind, in the order they are reported.
enum Kind {
    Lookup,
    LookupFromListing,
    Getattr,
    Readlink,
    Open,
    Read,
    Flush,
    Release,
    Opendir,
    Readdir,
    Releasedir,
    Statfs,
    KindCount
};
const char* const KindNames[KindCount] = {"lookup", "lookup-listed", "getattr", "readlink", "open",       "read",
                                          "flush",  "release",       "opendir", "readdir",  "releasedir", "statfs"};
std::atomic<long> counts[KindCount];

// A server that goes away: requests after the first failAfter fail, each held for hold first.
long long failAfter = -1;
// The kinds of request that the delay and the faults apply to, one bit each.
unsigned affectedKinds = ~0u;
std::chrono::milliseconds hold {0};
std::atomic<long long> served;

// --detail: the requests of each kind by the process that made them, and the most that waited for the
// server at once, in all ("") and by process.
bool detail = false;
std::mutex detailMutex;
std::map<std::pair<int, std::string>, long> byProcess; // (kind, process name): requests
struct Waiting
{
    int now = 0;
    int most = 0;
};
std::map<std::string, Waiting> waiting;
// The look-ups of names that were not there, by name.
std::map<std::string, long> missingNames;
// Each request as it came: the wall-clock time in milliseconds, its kind and its process.
std::vector<std::tuple<double, int, std::string>> timeline;

std::string processName(fuse_req_t req)
{
    std::string name = "?";
    if (std::FILE* comm = std::fopen(("/proc/" + std::to_string(fuse_req_ctx(req)->pid) + "/comm").c_str(), "r")) {
        char buffer[64] = {};
        if (std::fgets(buffer, sizeof buffer, comm))
            name = std::string(buffer, std::strcspn(buffer, "\n"));
        std::fclose(comm);
    }
    return name;
}

// Waits for the server's answer to a request that process sent: the more requests wait at once, the more
// the process asks in parallel.
void roundTrip(std::chrono::microseconds time, const std::string& process)
{
    if (detail) {
        std::lock_guard lock(detailMutex);
        for (Waiting* counted : {&waiting[""], &waiting[process]})
            counted->most = std::max(counted->most, ++counted->now);
    }
    std::this_thread::sleep_for(time);
    if (detail) {
        std::lock_guard lock(detailMutex);
        --waiting[""].now;
        --waiting[process].now;
    }
}

// Counts a request and waits for the server's answer: 0, or the error the caller answers with. A server
// that goes away fails the request with EIO, after holding it where it stops answering; a held request
// that its caller gives up (a process that ends: the kernel sends an interrupt) ends at once with EINTR,
// as the SMB and NFS clients' waits end for a process that is killed.
int request(Kind kind, fuse_req_t req, bool delayed = true)
{
    ++counts[kind];
    const std::string process = detail ? processName(req) : std::string();
    if (detail) {
        const double now =
            std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch()).count();
        std::lock_guard lock(detailMutex);
        ++byProcess[{kind, process}];
        timeline.emplace_back(now, kind, process);
    }
    if (!delayed || !(affectedKinds & (1u << kind)))
        return 0;
    if (failAfter >= 0 && ++served > failAfter) {
        // Closing a handle of a session that is gone is the client's own business: it is not held, as
        // the kernel waits for it however the process ends.
        if (kind == Flush || kind == Release || kind == Releasedir)
            return EIO;
        const Clock::time_point end = Clock::now() + hold;
        while (Clock::now() < end) {
            if (fuse_req_interrupted(req))
                return EINTR;
            std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(10), end - Clock::now()));
        }
        return EIO;
    }
    if (delay.count() > 0)
        roundTrip(delay, process);
    return 0;
}

// Waits until size bytes have crossed the link, after those that were sent before them.
void transfer(size_t size)
{
    bytesRead += static_cast<long long>(size);
    if (bitsPerSecond <= 0 || size == 0)
        return;
    const auto duration =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(double(size) * 8.0 / bitsPerSecond));
    Clock::time_point done;
    {
        std::lock_guard lock(linkMutex);
        done = std::max(Clock::now(), linkFree) + duration;
        linkFree = done;
    }
    std::this_thread::sleep_until(done);
}

// Inode numbers of our own, path by path; root is FUSE_ROOT_ID. Never forgotten: the tree is small.
class Inodes
{
public:
    explicit Inodes(std::string root) { m_paths.push_back({}), m_paths.push_back(std::move(root)); }

    fuse_ino_t number(const std::string& path)
    {
        std::unique_lock lock(m_mutex);
        const auto [found, added] = m_numbers.try_emplace(path, m_paths.size());
        if (added)
            m_paths.push_back(path);
        return found->second;
    }

    std::string path(fuse_ino_t ino)
    {
        std::shared_lock lock(m_mutex);
        return ino < m_paths.size() ? m_paths[ino] : std::string();
    }

    // When a listing last returned path.
    void listed(const std::string& path, Clock::time_point when)
    {
        std::unique_lock lock(m_mutex);
        m_listed[path] = when;
    }

    bool listedRecently(const std::string& path)
    {
        std::shared_lock lock(m_mutex);
        const auto found = m_listed.find(path);
        return found != m_listed.end()
            && std::chrono::duration<double>(Clock::now() - found->second).count() < cache.listing;
    }

private:
    std::shared_mutex m_mutex;
    std::vector<std::string> m_paths;
    std::unordered_map<std::string, fuse_ino_t> m_numbers;
    std::unordered_map<std::string, Clock::time_point> m_listed;
};

std::unique_ptr<Inodes> inodes;

std::string child(fuse_ino_t parent, const char* name)
{
    return inodes->path(parent) + '/' + name;
}

fuse_entry_param entryFor(const std::string& path, const struct stat& status)
{
    fuse_entry_param entry {};
    entry.ino = inodes->number(path);
    entry.attr = status;
    entry.attr.st_ino = entry.ino;
    entry.attr_timeout = cache.attributes;
    entry.entry_timeout = cache.attributes;
    return entry;
}

struct Listing
{
    struct Entry
    {
        std::string name;
        struct stat status;
    };
    std::vector<Entry> entries;
};

void shareInit(void*, fuse_conn_info* connection)
{
    connection->max_background = MaxThreads;
    connection->congestion_threshold = MaxThreads * 3 / 4;
    if (connection->capable & FUSE_CAP_READDIRPLUS)
        connection->want |= FUSE_CAP_READDIRPLUS;
    connection->want &= ~FUSE_CAP_READDIRPLUS_AUTO; // every listing brings the attributes
}

void shareLookup(fuse_req_t req, fuse_ino_t parent, const char* name)
{
    const std::string path = child(parent, name);
    const bool listed = inodes->listedRecently(path);
    if (const int error = request(listed ? LookupFromListing : Lookup, req, !listed)) {
        fuse_reply_err(req, error);
        return;
    }
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) {
        if (errno != ENOENT) {
            fuse_reply_err(req, errno);
            return;
        }
        if (detail) {
            std::lock_guard lock(detailMutex);
            ++missingNames[name];
        }
        fuse_entry_param missing {}; // a name that does not exist, cached as such
        missing.entry_timeout = cache.missing;
        fuse_reply_entry(req, &missing);
        return;
    }
    const fuse_entry_param entry = entryFor(path, status);
    fuse_reply_entry(req, &entry);
}

void shareGetattr(fuse_req_t req, fuse_ino_t ino, fuse_file_info*)
{
    if (const int error = request(Getattr, req)) {
        fuse_reply_err(req, error);
        return;
    }
    struct stat status;
    if (lstat(inodes->path(ino).c_str(), &status) != 0) {
        fuse_reply_err(req, errno);
        return;
    }
    status.st_ino = ino;
    fuse_reply_attr(req, &status, cache.attributes);
}

void shareReadlink(fuse_req_t req, fuse_ino_t ino)
{
    if (const int error = request(Readlink, req)) {
        fuse_reply_err(req, error);
        return;
    }
    char target[PATH_MAX + 1];
    const ssize_t size = readlink(inodes->path(ino).c_str(), target, PATH_MAX);
    if (size < 0) {
        fuse_reply_err(req, errno);
        return;
    }
    target[size] = '\0';
    fuse_reply_readlink(req, target);
}

void shareOpen(fuse_req_t req, fuse_ino_t ino, fuse_file_info* file)
{
    if (const int error = request(Open, req)) {
        fuse_reply_err(req, error);
        return;
    }
    if ((file->flags & O_ACCMODE) != O_RDONLY) {
        fuse_reply_err(req, EROFS);
        return;
    }
    const int fd = open(inodes->path(ino).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        fuse_reply_err(req, errno);
        return;
    }
    file->fh = uint64_t(fd);
    file->keep_cache = pageCache;
    file->direct_io = false;
    fuse_reply_open(req, file);
}

void shareRead(fuse_req_t req, fuse_ino_t, size_t size, off_t offset, fuse_file_info* file)
{
    if (const int error = request(Read, req)) {
        fuse_reply_err(req, error);
        return;
    }
    std::vector<char> buffer(size);
    const ssize_t got = pread(int(file->fh), buffer.data(), size, offset);
    if (got < 0) {
        fuse_reply_err(req, errno);
        return;
    }
    transfer(size_t(got));
    fuse_reply_buf(req, buffer.data(), size_t(got));
}

void shareFlush(fuse_req_t req, fuse_ino_t, fuse_file_info*)
{
    // The client's close reaches the server too.
    fuse_reply_err(req, request(Flush, req));
}

void shareRelease(fuse_req_t req, fuse_ino_t, fuse_file_info* file)
{
    request(Release, req); // what the client held is let go, answered or not
    close(int(file->fh));
    fuse_reply_err(req, 0);
}

void shareOpendir(fuse_req_t req, fuse_ino_t ino, fuse_file_info* file)
{
    if (const int error = request(Opendir, req)) {
        fuse_reply_err(req, error);
        return;
    }
    const std::string path = inodes->path(ino);
    DIR* dir = opendir(path.c_str());
    if (!dir) {
        fuse_reply_err(req, errno);
        return;
    }
    auto listing = std::make_unique<Listing>();
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        Listing::Entry item {entry->d_name, {}};
        if (fstatat(dirfd(dir), entry->d_name, &item.status, AT_SYMLINK_NOFOLLOW) == 0)
            listing->entries.push_back(std::move(item));
    }
    closedir(dir);
    file->fh = reinterpret_cast<uint64_t>(listing.release());
    file->cache_readdir = pageCache;
    file->keep_cache = pageCache;
    fuse_reply_open(req, file);
}

void shareReaddirplus(fuse_req_t req, fuse_ino_t ino, size_t size, off_t offset, fuse_file_info* file)
{
    if (const int error = request(Readdir, req)) {
        fuse_reply_err(req, error);
        return;
    }
    const auto* listing = reinterpret_cast<const Listing*>(file->fh);
    const std::string folder = inodes->path(ino);
    const Clock::time_point now = Clock::now();
    std::vector<char> buffer(size);
    size_t used = 0;
    for (size_t i = size_t(offset); i < listing->entries.size(); ++i) {
        const Listing::Entry& item = listing->entries[i];
        const std::string path = folder + '/' + item.name;
        const fuse_entry_param entry = entryFor(path, item.status);
        const size_t needed =
            fuse_add_direntry_plus(req, buffer.data() + used, size - used, item.name.c_str(), &entry, off_t(i + 1));
        if (needed > size - used)
            break; // the kernel takes no reference for an entry that did not fit
        used += needed;
        inodes->listed(path, now);
    }
    fuse_reply_buf(req, buffer.data(), used);
}

void shareReleasedir(fuse_req_t req, fuse_ino_t, fuse_file_info* file)
{
    request(Releasedir, req);
    delete reinterpret_cast<Listing*>(file->fh);
    fuse_reply_err(req, 0);
}

void shareStatfs(fuse_req_t req, fuse_ino_t ino)
{
    if (const int error = request(Statfs, req)) {
        fuse_reply_err(req, error);
        return;
    }
    struct statvfs status;
    if (statvfs(inodes->path(ino).c_str(), &status) != 0)
        fuse_reply_err(req, errno);
    else
        fuse_reply_statfs(req, &status);
}

} // namespace

int main(int argc, char* argv[])
{
    bool usage = argc < 5;
    for (int i = 5; i < argc && !usage; ++i) {
        const std::string option = argv[i];
        if (option == "--page-cache") {
            pageCache = true;
            cache = WindowsClientCache;
        } else if (option == "--no-cache") {
            pageCache = false;
            cache = NoClientCache;
        } else if (option.rfind("--bandwidth=", 0) == 0) {
            bitsPerSecond = std::atof(option.c_str() + 12) * 1e6;
            usage = bitsPerSecond <= 0;
        } else if (option.rfind("--fail-after=", 0) == 0) {
            failAfter = std::atoll(option.c_str() + 13);
            usage = failAfter < 0;
        } else if (option.rfind("--hold=", 0) == 0) {
            hold = std::chrono::milliseconds(long(std::atof(option.c_str() + 7) * 1000));
        } else if (option == "--detail") {
            detail = true;
        } else if (option.rfind("--only=", 0) == 0) {
            affectedKinds = 0;
            std::string kinds = option.substr(7) + ',';
            for (size_t start = 0, comma; (comma = kinds.find(',', start)) != std::string::npos; start = comma + 1) {
                const std::string name = kinds.substr(start, comma - start);
                const auto* found = std::find(std::begin(KindNames), std::end(KindNames), name);
                usage = usage || found == std::end(KindNames);
                affectedKinds |= 1u << (found - std::begin(KindNames));
            }
        } else {
            usage = true;
        }
    }
    if (usage) {
        std::fprintf(
            stderr,
            "usage: %s SOURCE MOUNTPOINT DELAY_MS COUNTS_FILE [--page-cache | --no-cache] [--bandwidth=MBIT_PER_S]\n"
            "       [--fail-after=N [--hold=SECONDS]] [--only=KIND,...] [--detail]\n",
            argv[0]);
        return 2;
    }
    char* source = realpath(argv[1], nullptr);
    if (!source) {
        std::perror(argv[1]);
        return 2;
    }
    inodes = std::make_unique<Inodes>(source);
    free(source);
    delay = std::chrono::microseconds(long(std::atof(argv[3]) * 1000));

    fuse_lowlevel_ops operations {};
    operations.init = shareInit;
    operations.lookup = shareLookup;
    operations.getattr = shareGetattr;
    operations.readlink = shareReadlink;
    operations.open = shareOpen;
    operations.read = shareRead;
    operations.flush = shareFlush;
    operations.release = shareRelease;
    operations.opendir = shareOpendir;
    operations.readdirplus = shareReaddirplus;
    operations.releasedir = shareReleasedir;
    operations.statfs = shareStatfs;

    char* options[] = {argv[0], const_cast<char*>("-o"), const_cast<char*>("ro,fsname=latency_share,subtype=share")};
    fuse_args args = FUSE_ARGS_INIT(3, options);
    fuse_session* session = fuse_session_new(&args, &operations, sizeof(operations), nullptr);
    if (!session)
        return 1;
    int status = 1;
    if (fuse_set_signal_handlers(session) == 0) {
        if (fuse_session_mount(session, argv[2]) == 0) {
            fuse_loop_config* config = fuse_loop_cfg_create();
            fuse_loop_cfg_set_max_threads(config, MaxThreads);
            fuse_loop_cfg_set_idle_threads(config, MaxThreads);
            status = fuse_session_loop_mt(session, config);
            fuse_loop_cfg_destroy(config);
            fuse_session_unmount(session);
        }
        fuse_remove_signal_handlers(session);
    }
    fuse_session_destroy(session);

    if (FILE* out = std::fopen(argv[4], "w")) {
        for (int kind = 0; kind < KindCount; ++kind)
            std::fprintf(out, "%s %ld\n", KindNames[kind], counts[kind].load());
        std::fprintf(out, "read-bytes %lld\n", bytesRead.load());
        std::fclose(out);
    }
    if (detail) {
        if (FILE* out = std::fopen((std::string(argv[4]) + "-detail").c_str(), "w")) {
            for (const auto& [process, counted] : waiting)
                std::fprintf(out, "most-in-flight %s %d\n", process.empty() ? "all" : process.c_str(), counted.most);
            for (const auto& [key, count] : byProcess)
                std::fprintf(out, "%s %s %ld\n", KindNames[key.first], key.second.c_str(), count);
            for (const auto& [name, count] : missingNames)
                std::fprintf(out, "missing %s %ld\n", name.c_str(), count);
            for (const auto& [time, kind, process] : timeline)
                std::fprintf(out, "at %.1f %s %s\n", time, KindNames[kind], process.c_str());
            std::fclose(out);
        }
    }
    return status == 0 ? 0 : 1;
}
