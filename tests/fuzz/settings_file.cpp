// The settings file read by the file back end, saved, read and saved again: the second save must
// write the bytes of the first, so that whatever the back end read from a file comes back the
// same once it has been kept, and a file the back end wrote is one it reads.
//
// The back end saves only on a change, so each round writes the same marker value, which a
// person's settings file may hold too.

#include "fuzz_support.h"
#include "settings/registry_store.h"

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Reads the file at path with a fresh back end, has it save the file, and returns what it wrote.
QByteArray readAndSave(const QString& path) {
    const std::unique_ptr<reg::Backend> backend = reg::makeFileBackend(path);
    reg::KeyHandle key = 0;
    FUZZ_CHECK(backend->createKey(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath),
                                  reg::KEY_WRITE, &key) == reg::ERROR_SUCCESS);
    FUZZ_CHECK(backend->setValue(key, QStringLiteral("Keel"), reg::REG_SZ, QByteArray("english", 8)) ==
               reg::ERROR_SUCCESS);
    backend->closeKey(key);
    return fileBytes(path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceWarnings(); // a file that cannot be read is set aside with a warning
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::clearScratchFolder();
    const QString path = fuzz::asFile(fuzz::bytes(data, size), QStringLiteral("settings.reg"));
    const QByteArray firstSave = readAndSave(path);
    const QByteArray secondSave = readAndSave(path);
    FUZZ_CHECK(firstSave == secondSave);
    return 0;
}
