#include "cli/TerminalOutput.h"

#include "base/VisibleText.h"

TerminalOutput::TerminalOutput(FILE *file, QIODevice *console) : m_file(file), m_console(console) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 TerminalOutput::writeData(const char *data, qint64 size) {
    QString text = m_decoder.decode(QByteArrayView(data, size));
    // A message's own line breaks (CR LF inside the program) end lines; a lone CR is shown.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QByteArray shown = VisibleText::of(text).toUtf8();
    if (m_console)
        return m_console->write(shown) == shown.size() ? size : -1;
    if (std::fwrite(shown.constData(), 1, size_t(shown.size()), m_file) != size_t(shown.size()))
        return -1;
    std::fflush(m_file);
    return size;
}
