#include "base/ResText.h"

#include <QFile>
#include <QList>
#include <QtDebug>

namespace {

qint16 g_langOffset = 0;

QString unescape(const QString &raw) {
    QString out;
    out.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar e = raw[++i];
        switch (e.unicode()) {
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        default:
            out += e;
            break;
        }
    }
    return out;
}

} // namespace

StringTable StringTable::parse(const QByteArray &utf8) {
    StringTable table;
    const QString all = QString::fromUtf8(utf8);
    for (const QString &line : all.split(u'\n')) {
        QString l = line;
        if (l.endsWith(u'\r'))
            l.chop(1);
        if (l.isEmpty() || l.startsWith(u'#'))
            continue;
        const QList<QString> cols = l.split(u'\t');
        bool ok = false;
        const int id = cols.value(0).toInt(&ok);
        if (!ok || cols.size() < 2) {
            qWarning("string table: bad line: %s", qPrintable(l));
            continue;
        }
        table.m_items.insert(id, unescape(cols[1]));
        if (cols.size() > 2 && cols[2] == u"ours")
            table.m_ours.insert(id, true);
    }
    return table;
}

const StringTable &StringTable::builtIn() {
    static const StringTable table = [] {
        QFile f(QStringLiteral(":/strings.tsv"));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("string table resource missing");
        return parse(f.readAll());
    }();
    return table;
}

std::optional<QString> StringTable::item(int id) const {
    const auto it = m_items.constFind(id);
    if (it == m_items.cend())
        return std::nullopt;
    return *it;
}

qint16 LangOffset() {
    return g_langOffset;
}

void setLangOffset(qint16 offset) {
    g_langOffset = offset;
}

std::optional<QString> ResTextIfAny(int id) {
    return StringTable::builtIn().item(id + g_langOffset);
}

QString ResText(int id) {
    if (auto text = ResTextIfAny(id))
        return *text;
    qWarning("no text for id %d", id + g_langOffset);
    return {};
}
