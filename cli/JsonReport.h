#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

struct OpResult;
struct QvData;
struct QvItem;
struct ItemDifference;
struct PortEntry;
struct JournalEntry;
class IoMonitor;

// The parts of the one JSON document qvpc-cli prints with --json: values under the program's
// item names, results under stable names of their status and failure kind.
namespace JsonReport {

// {"status": "done"|"stopped"|"busy"|"failed", "failure": "timeout" ..., "message": ...,
// "errorCode": "0B"}; failure, message and errorCode only where there is one.
QJsonObject result(const OpResult &result);
// {"Vel1": 20, ...} for the items named (in any order, as JSON objects are).
QJsonObject items(const QvData &data, const QList<const QvItem *> &which);
QJsonObject allItems(const QvData &data);
// [{"item": "Vel1", firstKey: 20, secondKey: 25}, ...] in the order of the item table.
QJsonArray differences(const QList<ItemDifference> &differences, const QString &workingKey,
                       const QString &readKey);
// [{"port": 3, "path": ..., "device": ..., "description": ..., "manufacturer": ...,
// "serialNumber": ..., "state": ..., "usable": bool}, ...]
QJsonArray ports(const QList<PortEntry> &entries);
// {"run": false, ..., "no-work": true}: true is a red lamp.
QJsonObject signalStates(const IoMonitor &monitor);

// history: [{"number": 7, "time": "2026-12-09T06:00:00Z", "port": ..., "device": ...,
// "serialNumber": ..., "ended": "written", "reason": ..., "changes": [{"item", "before",
// "after"}]}, ...] newest first.
QJsonArray journal(const QList<JournalEntry> &entries);

} // namespace JsonReport
