#include "document/DesignFile.h"

#include <cerrno>
#include <new>
#include <sys/stat.h>

#include "document/DesignReader.h"
#include "document/DesignWriter.h"
#include "document/FileError.h"
#include "document/FileSource.h"
#include "document/SafeFileWriter.h"

namespace zb {

namespace {

FileResult SaveFailed(const std::string& fileName, const std::string& reason, bool existed) {
    std::string message = "Die Datei " + QuotedFileName(fileName) + " konnte nicht gespeichert werden. " + reason + ".";
    if (existed) message += " Die bisherige Fassung der Datei ist unverändert.";
    return {false, message, reason};
}

FileResult OpenFailed(const std::string& fileName, const std::string& reason) {
    return {false,
            "Die Datei " + QuotedFileName(fileName) + " konnte nicht geöffnet werden. " + reason +
                ". Der bisherige Entwurf bleibt unverändert.",
            reason};
}

} // namespace

FileResult savefile(const Design& design, const std::string& fileName, const SaveOptions& options) {
    struct stat st {};
    const bool existed = ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    SafeFileWriter writer(fileName);
    // A refused target was never touched; saying the old file stays would be noise.
    if (!writer.Begin()) return SaveFailed(fileName, writer.Reason(), existed && !writer.Refused());
    writer.Sink().SetByteLimit(options.FailAfterBytes);
    if (!WriteDesign(design, writer.Sink())) return SaveFailed(fileName, FileErrorText(writer.Sink().Error()), existed);
    if (!writer.Commit(options.Sync)) return SaveFailed(fileName, writer.Reason(), existed);
    return {true, {}, {}};
}

FileResult openfile(const std::string& fileName, std::unique_ptr<Design>& design) {
    FileSource source;
    if (!source.Open(fileName)) {
        // A pipe or a device says what it is rather than "ungültig".
        const std::string kind = NotAFileText(fileName);
        return OpenFailed(fileName, kind.empty() ? FileErrorText(source.Error()) : kind);
    }
    std::unique_ptr<Design> fresh;
    std::string problem;
    try {
        fresh = std::make_unique<Design>();
        problem = ReadDesign(source, *fresh);
    } catch (const std::bad_alloc&) {
        problem = FileErrorText(ENOMEM);
    }
    // A failed read of the disk is reported as such, not as a damaged file.
    if (source.Error() != 0) problem = FileErrorText(source.Error());
    if (!problem.empty()) return OpenFailed(fileName, problem);
    design.swap(fresh);
    return {true, {}, {}};
}

} // namespace zb
