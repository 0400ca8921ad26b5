#pragma once
#include "model/MatrixImage.h"

#include <QString>

class QIODevice;

// A preset file (.T16): exactly one 1600-byte MatrixImage, byte 0 first, no header, no checksum.
// Anything of another length is refused whole. Plain file handling without windows; the callers
// show the messages.
class PresetFile {
public:
    enum class Status { Ok, WrongSize, ReadError };
    struct ReadResult {
        Status status = Status::ReadError;
        QString error; // what went wrong, for a message; empty when Ok
        bool ok() const { return status == Status::Ok; }
    };

    static constexpr const char kExtension[] = ".T16";
    // The dialog filters of the main window and of the memory window.
    static QString mainWindowFilter();
    static QString memoryWindowFilter();

    // Reads one image from `device` (open for reading). At most 1601 bytes are taken from it, so
    // an oversized or endless source costs nothing; `image` is written only when exactly 1600
    // bytes were there, and is otherwise left exactly as it was.
    static ReadResult read(QIODevice* device, MatrixImage& image);
    static ReadResult readFile(const QString& path, MatrixImage& image);

    // Writes the 1600 bytes to `device` (open for writing). False with `error` set when the
    // device took fewer.
    static bool write(QIODevice* device, const MatrixImage& image, QString* error);
    // Writes through a temporary file in the target's folder that replaces `path` only once it
    // is complete (QSaveFile): a failed save leaves an existing file as it was and no partial
    // file behind. False with `error` set (naming the file) on failure.
    static bool writeFile(const QString& path, const MatrixImage& image, QString* error);

    // The save dialogs' extension rule: a name with no extension gets ".T16"; a name with any
    // other extension is kept as it is. A name ending in a dot counts as having none.
    static QString withDefaultExtension(const QString& path);
};
