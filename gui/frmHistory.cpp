#include "gui/frmHistory.h"

#include "base/ResText.h"
#include "data/QvItems.h"
#include "gui/FormBuild.h"
#include "gui/Twips.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A read-only table of rows with these headings; the column named takes the room left.
QTableWidget *table(const char *name, QWidget *parent, std::initializer_list<int> heads,
                    int stretched) {
    auto *t = named<QTableWidget>(name, parent, 0, int(heads.size()));
    QStringList labels;
    for (int id : heads)
        labels.append(ResText(id));
    t->setHorizontalHeaderLabels(labels);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int column = 0; column < t->columnCount(); ++column)
        t->horizontalHeader()->setSectionResizeMode(
            column, column == stretched ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    return t;
}

// One row of cells; the numbers in the columns named are set to the right.
void fillRow(QTableWidget *t, int row, const QStringList &cells,
             std::initializer_list<int> numbers) {
    for (int column = 0; column < cells.size(); ++column) {
        auto *item = new QTableWidgetItem(cells[column]);
        if (std::find(numbers.begin(), numbers.end(), column) != numbers.end())
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(row, column, item);
    }
}

// How a write ended, in the chosen language.
QString endedText(JournalEntry::Ended ended) {
    switch (ended) {
    case JournalEntry::Ended::Written:
        return ResText(1586);
    case JournalEntry::Ended::Restarted:
        return ResText(1587);
    case JournalEntry::Ended::RestartFailed:
        return ResText(1588);
    case JournalEntry::Ended::Interrupted:
        return ResText(1596);
    case JournalEntry::Ended::UnderWay:
        return ResText(1597);
    case JournalEntry::Ended::Failed:
        break;
    }
    return ResText(1589);
}

} // namespace

frmHistory::frmHistory(const QList<JournalEntry> &entries, bool journalOn, QWidget *mainWindow)
    : QDialog(mainWindow), m_entries(entries) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(ResText(1573));

    // The port's column takes the room: a USB adapter's stable name is long.
    tblEntries = table("tblEntries", this, {1575, 1576, 1577, 1578, 1579}, 2);
    tblItems = table("tblItems", this, {1580, 1581, 1582}, 0);
    tblItems->setSelectionMode(QAbstractItemView::NoSelection);
    lblEmpty = named<QLabel>("lblEmpty", this, ResText(1584));
    lblJournalOff = named<QLabel>("lblJournalOff", this, ResText(1641));
    lblJournalOff->setWordWrap(true);
    cmdRestore = named<QPushButton>("cmdRestore", this, ResText(1583));
    cmdClose = named<QPushButton>("cmdClose", this, ResText(1704));

    tblEntries->setRowCount(int(m_entries.size()));
    for (int row = 0; row < int(m_entries.size()); ++row) {
        const JournalEntry &e = m_entries[row];
        fillRow(tblEntries, row,
                {QString::number(e.number),
                 e.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.port,
                 endedText(e.ended), QString::number(e.changes().size())},
                {0, 4});
    }
    lblEmpty->setVisible(m_entries.isEmpty());
    lblJournalOff->setVisible(!journalOn);
    cmdRestore->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdRestore);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblEmpty);
    layout->addWidget(lblJournalOff);
    layout->addWidget(tblEntries, 3);
    layout->addWidget(tblItems, 2);
    layout->addLayout(buttons);
    resize(Twips::toPixels(9000), Twips::toPixels(6500));

    connect(tblEntries, &QTableWidget::itemSelectionChanged, this, &frmHistory::showItems);
    connect(cmdRestore, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    if (!m_entries.isEmpty())
        tblEntries->selectRow(0);
}

const JournalEntry *frmHistory::chosen() const {
    const int row = tblEntries->currentRow();
    return row >= 0 && row < int(m_entries.size()) ? &m_entries[row] : nullptr;
}

void frmHistory::showItems() {
    const JournalEntry *e = chosen();
    const QList<ItemDifference> changes = e ? e->changes() : QList<ItemDifference>();
    tblItems->setRowCount(int(changes.size()));
    for (int row = 0; row < int(changes.size()); ++row) {
        const ItemDifference &d = changes[row];
        fillRow(tblItems, row,
                {ItemLabel(*d.item), QString::number(d.read), QString::number(d.working)}, {1, 2});
    }
    cmdRestore->setEnabled(e != nullptr);
}
