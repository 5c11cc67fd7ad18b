#include "cli/ConsoleStream.h"

#include <QStringDecoder>

#include <io.h>
#include <windows.h>

namespace {

// Takes UTF-8 bytes (a character may be split between two writes) and hands the console their
// characters.
class ConsoleDevice : public QIODevice {
public:
    explicit ConsoleDevice(HANDLE console) : m_console(console) { open(WriteOnly | Unbuffered); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        const QString text = m_decoder.decode(QByteArrayView(data, size));
        const wchar_t *at = reinterpret_cast<const wchar_t *>(text.utf16());
        qsizetype left = text.size();
        while (left > 0) {
            DWORD written = 0;
            if (!WriteConsoleW(m_console, at, DWORD(qMin<qsizetype>(left, 8192)), &written,
                               nullptr) ||
                written == 0)
                return -1;
            at += written;
            left -= qsizetype(written);
        }
        return size;
    }

private:
    HANDLE m_console;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

} // namespace

std::unique_ptr<QIODevice> ConsoleStream::consoleOf(FILE *stream) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return nullptr;
    return std::make_unique<ConsoleDevice>(handle);
}
