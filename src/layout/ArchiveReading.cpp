#include "layout/ArchiveReading.h"

#include "platform/RegularFileReading.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

namespace {

// The zip library reads a package in many small pieces (headers of a few dozen bytes, then the
// compressed data in blocks of 16 KiB): those are served from a window of the file read in one
// call, so that opening a package costs tens of reads instead of thousands.
constexpr std::size_t kReadWindow = 256 * 1024;

struct DescriptorStream {
    int fd = -1;
    ZPOS64_T position = 0;
    ZPOS64_T size = 0;
    int error = 0;
    std::unique_ptr<char[]> window; // kReadWindow bytes, made at the first read
    ZPOS64_T windowStart = 0;
    std::size_t windowLength = 0;
};

// Reads up to size bytes at offset, retrying when interrupted; the count read, or -1.
ssize_t ReadAt(int fd, char *buffer, std::size_t size, ZPOS64_T offset, int &error)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return done > 0 ? ssize_t(done) : -1;
        }
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    return ssize_t(done);
}

// What the zip library hands to the open function in place of a file name.
struct OpenRequest {
    int fd = -1;
    bool taken = false; // the stream owns the descriptor and closes it
};

voidpf OpenStream(voidpf, const void *request, int mode)
{
    auto *r = const_cast<OpenRequest *>(static_cast<const OpenRequest *>(request));
    if (!r || r->taken || (mode & ZLIB_FILEFUNC_MODE_WRITE))
        return nullptr;
    struct stat st;
    if (::fstat(r->fd, &st) != 0)
        return nullptr;
    r->taken = true;
    auto *stream = new DescriptorStream;
    stream->fd = r->fd;
    stream->size = ZPOS64_T(st.st_size);
    return stream;
}

uLong ReadStream(voidpf, voidpf stream, void *buffer, uLong size)
{
    auto *s = static_cast<DescriptorStream *>(stream);
    char *out = static_cast<char *>(buffer);
    uLong done = 0;
    while (done < size) {
        const ZPOS64_T at = s->position;
        const ZPOS64_T windowEnd = s->windowStart + s->windowLength;
        if (at >= s->windowStart && at < windowEnd) {
            const std::size_t take = std::size_t(std::min<ZPOS64_T>(windowEnd - at, size - done));
            std::memcpy(out + done, s->window.get() + (at - s->windowStart), take);
            done += uLong(take);
            s->position += take;
            continue;
        }
        // What the window cannot hold is read straight into the caller's buffer.
        if (size - done >= kReadWindow) {
            const ssize_t n = ReadAt(s->fd, out + done, size - done, at, s->error);
            if (n > 0) {
                done += uLong(n);
                s->position += ZPOS64_T(n);
            }
            break;
        }
        // Past the size the file had when it was opened there is nothing to read; damaged
        // packages make the library try that again and again.
        if (at >= s->size)
            break;
        if (!s->window)
            s->window = std::make_unique_for_overwrite<char[]>(kReadWindow);
        // A package that fits in the window is read whole, once: the library reads the central
        // directory at the end first and then goes back to the members.
        const ZPOS64_T start = s->size <= kReadWindow ? 0 : at;
        const ssize_t n = ReadAt(s->fd, s->window.get(), kReadWindow, start, s->error);
        s->windowStart = start;
        s->windowLength = n > 0 ? std::size_t(n) : 0;
        if (at >= start + s->windowLength)
            break; // nothing there: the end of the file, or a read error
    }
    return done;
}

uLong WriteStream(voidpf, voidpf, const void *, uLong) { return 0; }

ZPOS64_T TellStream(voidpf, voidpf stream) { return static_cast<DescriptorStream *>(stream)->position; }

long SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto *s = static_cast<DescriptorStream *>(stream);
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: s->position = offset; return 0;
    case ZLIB_FILEFUNC_SEEK_CUR: s->position += offset; return 0;
    case ZLIB_FILEFUNC_SEEK_END: s->position = s->size + offset; return 0;
    default: return -1;
    }
}

int CloseStream(voidpf, voidpf stream)
{
    auto *s = static_cast<DescriptorStream *>(stream);
    const int result = ::close(s->fd);
    delete s;
    return result;
}

int StreamError(voidpf, voidpf stream) { return static_cast<DescriptorStream *>(stream)->error; }

} // namespace

unzFile OpenArchiveForReading(const QString &path)
{
    const int fd = OpenRegularFileForReading(path);
    if (fd < 0)
        return nullptr;
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenStream;
    functions.zread_file = ReadStream;
    functions.zwrite_file = WriteStream;
    functions.ztell64_file = TellStream;
    functions.zseek64_file = SeekStream;
    functions.zclose_file = CloseStream;
    functions.zerror_file = StreamError;
    functions.opaque = nullptr;
    OpenRequest request{fd, false};
    unzFile archive = unzOpen2_64(&request, &functions);
    if (!request.taken)
        ::close(fd);
    return archive;
}

} // namespace tavrin
