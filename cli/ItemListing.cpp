#include "cli/ItemListing.h"

#include "app/ResText.h"
#include "data/QvData.h"

namespace {

class Listing {
public:
    explicit Listing(QString &text) : m_text(text) {}

    void group(const QString &heading) { m_group = heading; }
    void item(const QString &name, qint32 value) {
        m_text += m_group + u'\t' + name + u'\t' + QString::number(value) + u'\n';
    }
    void position(int headingId, qint32 vel, qint32 acc, qint32 dec, qint32 pause, qint32 pulse) {
        group(ResText(headingId));
        item(ResText(29), vel);
        item(ResText(30), acc);
        item(ResText(31), dec);
        item(ResText(32), pause);
        item(ResText(33), pulse);
    }

private:
    QString &m_text;
    QString m_group;
};

} // namespace

QString itemListing(const QvData &d) {
    QString text;
    Listing l(text);
    l.position(34, d.Vel1, d.Acc1, d.Dec1, d.PauseTime1, d.Pulse1);
    l.position(35, d.Vel2, d.Acc2, d.Dec2, d.PauseTime2, d.Pulse2);
    l.group(ResText(36));
    l.item(ResText(37), d.SeparateTimer);
    l.item(ResText(38), d.SupplyCounter);
    l.item(ResText(39), d.RestartDelay);
    l.item(ResText(40), d.MidDetectCounter);
    l.item(ResText(41), d.NoWorkCounter);
    l.item(ResText(42), d.TipWorkOffTimer);
    l.item(ResText(43), d.Sp1);
    l.item(ResText(243), d.RevDir);
    l.group(ResText(44));
    l.item(ResText(45), d.HomingVel);
    l.item(ResText(46), d.HomingPulse);
    l.item(ResText(47), d.OffsetVel);
    l.item(ResText(48), d.OffsetPulse);
    return text;
}
