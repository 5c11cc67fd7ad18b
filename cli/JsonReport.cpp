#include "cli/JsonReport.h"

#include "base/OpResult.h"
#include "data/QvItems.h"
#include "data/Verification.h"
#include "data/WriteJournal.h"
#include "iomon/IoMonitor.h"
#include "link/PortSurvey.h"

namespace {

// Names a script can compare with; the words of toString() are for people.
QString failureName(OpResult::Failure failure) {
    switch (failure) {
    case OpResult::Failure::None:
        break;
    case OpResult::Failure::NoPort:
        return QStringLiteral("no-port");
    case OpResult::Failure::PortGone:
        return QStringLiteral("port-gone");
    case OpResult::Failure::Timeout:
        return QStringLiteral("timeout");
    case OpResult::Failure::ErrorReply:
        return QStringLiteral("error-reply");
    case OpResult::Failure::Malformed:
        return QStringLiteral("malformed-reply");
    case OpResult::Failure::Unconfirmed:
        return QStringLiteral("not-confirmed");
    case OpResult::Failure::FileError:
        return QStringLiteral("file-error");
    case OpResult::Failure::Refused:
        return QStringLiteral("refused");
    }
    return {};
}

} // namespace

namespace JsonReport {

QJsonObject result(const OpResult &result) {
    QJsonObject o{{QStringLiteral("status"), QString::fromLatin1(toString(result.status))}};
    if (result.failure != OpResult::Failure::None)
        o.insert(QStringLiteral("failure"), failureName(result.failure));
    if (!result.text.isEmpty())
        o.insert(QStringLiteral("message"), result.oneLine());
    if (!result.errorCode.isEmpty())
        o.insert(QStringLiteral("errorCode"), result.errorCode);
    return o;
}

QJsonObject items(const QvData &data, const QList<const QvItem *> &which) {
    QJsonObject o;
    for (const QvItem *item : which)
        o.insert(QLatin1String(item->name), item->get(data));
    return o;
}

QJsonObject allItems(const QvData &data) {
    QList<const QvItem *> all;
    for (const QvItem &item : QvItems)
        all.append(&item);
    return items(data, all);
}

QJsonArray differences(const QList<ItemDifference> &differences, const QString &workingKey,
                       const QString &readKey) {
    QJsonArray a;
    for (const ItemDifference &d : differences) {
        a.append(QJsonObject{{QStringLiteral("item"), QLatin1String(d.item->name)},
                             {workingKey, d.working},
                             {readKey, d.read}});
    }
    return a;
}

QJsonArray ports(const QList<PortEntry> &entries) {
    QJsonArray a;
    for (const PortEntry &e : entries) {
        const PortCheck &c = e.check;
        const bool usable =
            c.state == PortCheck::State::Openable || c.state == PortCheck::State::OpenHere;
        a.append(QJsonObject{{QStringLiteral("port"), e.portNo},
                             {QStringLiteral("path"), c.mapPath},
                             {QStringLiteral("device"), c.devicePath},
                             {QStringLiteral("description"), c.description},
                             {QStringLiteral("manufacturer"), c.manufacturer},
                             {QStringLiteral("serialNumber"), c.serialNumber},
                             {QStringLiteral("state"), c.stateText()},
                             {QStringLiteral("usable"), usable}});
    }
    return a;
}

QJsonObject signalStates(const IoMonitor &monitor) {
    QJsonObject o;
    for (int i = 0; i < IoSignals::Count; ++i)
        o.insert(QLatin1String(IoSignals::table()[size_t(i)].cliName), monitor.lampOn(i));
    return o;
}

QJsonArray journal(const QList<JournalEntry> &entries) {
    QJsonArray a;
    for (const JournalEntry &e : entries) {
        QJsonObject o{{QStringLiteral("number"), e.number},
                      {QStringLiteral("time"), e.time.toUTC().toString(Qt::ISODate)},
                      {QStringLiteral("port"), e.port},
                      {QStringLiteral("device"), e.device},
                      {QStringLiteral("ended"), endedWord(e.ended)},
                      {QStringLiteral("changes"), differences(e.changes(), QStringLiteral("after"),
                                                              QStringLiteral("before"))}};
        if (!e.serial.isEmpty())
            o.insert(QStringLiteral("serialNumber"), e.serial);
        if (!e.reason.isEmpty())
            o.insert(QStringLiteral("reason"), e.reason);
        if (e.blocks > 0)
            o.insert(QStringLiteral("blocks"), e.blocks);
        if (e.blocksSent >= 0)
            o.insert(QStringLiteral("blocksSent"), e.blocksSent);
        a.append(o);
    }
    return a;
}

} // namespace JsonReport
