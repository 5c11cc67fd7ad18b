// Feeds arbitrary port map entries: the input is the value of COM1 in the settings file's
// [Ports] group, read as the program reads it. A text taken for an address must name a network
// line, hold a host without blanks or control characters and a port from 1 to 65535, and read
// back as the same address from its own URL, over TLS exactly when its scheme says so; a text
// not taken must give no URL.

#include "base/StoredSettings.h"
#include "fuzz/FuzzSupport.h"
#include "link/NetAddress.h"
#include "link/PortMap.h"

#include <QDir>
#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QString folder =
        fuzz::settingsFolder() + u'/' + QLatin1String(StoredSettings::AppName);
    static const QString conf = StoredSettings::filePath();
    fuzz::require(QDir().mkpath(folder) && conf.startsWith(folder));
    fuzz::place(conf, QByteArray("[Ports]\nCOM1=") + fuzz::bytes(data, size) + '\n');

    const QString text = PortMap::entry(1);
    const NetAddress a = NetAddress::parse(text);
    if (!a.isValid()) {
        fuzz::require(a.url().isEmpty() && a.host.isEmpty() && a.port == 0);
        return 0;
    }
    fuzz::require(NetAddress::looksLikeUrl(text) && !a.host.isEmpty() && a.port >= 1);
    fuzz::require(std::none_of(a.host.begin(), a.host.end(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control || c == u'/';
    }));
    const NetAddress again = NetAddress::parse(a.url());
    fuzz::require(again.kind == a.kind && again.host == a.host && again.port == a.port &&
                  again.tls == a.tls);
    const QString scheme = text.trimmed().section(QLatin1String("://"), 0, 0);
    fuzz::require(a.tls == scheme.endsWith(QLatin1String("+tls"), Qt::CaseInsensitive));
    return 0;
}
