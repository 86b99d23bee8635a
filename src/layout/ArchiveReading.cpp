#include "layout/ArchiveReading.h"

#include "platform/RegularFileReading.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

namespace {

struct DescriptorStream {
    int fd = -1;
    ZPOS64_T position = 0;
    ZPOS64_T size = 0;
    int error = 0;
};

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
    return new DescriptorStream{r->fd, 0, ZPOS64_T(st.st_size), 0};
}

uLong ReadStream(voidpf, voidpf stream, void *buffer, uLong size)
{
    auto *s = static_cast<DescriptorStream *>(stream);
    uLong done = 0;
    while (done < size) {
        const ssize_t n = ::pread(s->fd, static_cast<char *>(buffer) + done, size - done, off_t(s->position));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            s->error = errno;
            break;
        }
        if (n == 0)
            break;
        done += uLong(n);
        s->position += ZPOS64_T(n);
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
