#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "gui/GridView.h"
#include "gui/ListingModel.h"

namespace {

CellTable cellTable(const QStringList& texts)
{
    CellTable table;
    for (const QString& text : texts)
        table.cells.push_back(table.add(text));
    return table;
}

// rows rows of cells "r<row>c<col>" under headers "h<col>", each row's ID 100 + row;
// shown at the given size when there is one.
void fill(GridView& grid, int rows, int cols, QSize shownAt = {})
{
    QStringList cells;
    QStringList headers;
    std::vector<int> ids;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            cells << QStringLiteral("r%1c%2").arg(r).arg(c);
        ids.push_back(100 + r);
    }
    for (int c = 0; c < cols; ++c)
        headers << QStringLiteral("h%1").arg(c);
    grid.listingModel()->setListing(headers, cellTable(cells), std::move(ids), QStringLiteral("(None)"));
    if (shownAt.isValid()) {
        grid.resize(shownAt);
        grid.show();
    }
}

// The model tester reports its complaints as warnings.
QStringList gTesterFailures;
void collectTesterFailures(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        gTesterFailures << message;
}

} // namespace

TEST(GridView, AListingIsReplacedInOneResetAndAnEmptyOneShowsItsTextAsNoRecord)
{
    gTesterFailures.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectTesterFailures);
    {
        GridView grid;
        ListingModel* model = grid.listingModel();
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Warning);
        fill(grid, 30, 4, QSize(380, 280));
        QSignalSpy reset(model, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        fill(grid, 1000, 5);
        EXPECT_EQ(QVector<int>({int(reset.count()), int(inserted.count())}), QVector<int>({1, 0}));
        EXPECT_EQ(QVector<int>({model->rowCount(), model->columnCount(), model->recordId(600), model->rowOfRecord(700)}),
                  QVector<int>({1000, 5, 700, 600}));
        EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString() + model->cellText(999, 4), "h4r999c4");

        // A short last row is padded with blanks.
        model->setListing({"a", "b"}, cellTable({"x", "y", "z"}), {1, 2});
        EXPECT_EQ(model->cellText(1, 0) + "|" + model->cellText(1, 1), "z|");
        // Nothing listed: one row with the text, which is no record.
        model->setListing({"a", "b"}, {}, {}, QStringLiteral("(No Works Found)"));
        EXPECT_EQ(model->rowCount(), 1);
        EXPECT_EQ(model->data(model->index(0, 0)).toString(), "(No Works Found)");
        EXPECT_EQ(QVector<int>({model->recordCount(), model->recordId(0), model->rowOfRecord(0)}), QVector<int>({0, 0, -1}));

    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(gTesterFailures.isEmpty()) << gTesterFailures.join('\n').toStdString();
}

TEST(GridView, TheCurrentRowIsHighlightedWholeAndCtrlHomeAndEndGoToTheEnds)
{
    GridView grid;
    fill(grid, 100, 12, QSize(300, 200));
    grid.setMaxLeftColumn(4);
    grid.setCurrentCell(80, 3);
    grid.setCurrentCell(100, 3);  // out of range: ignored
    EXPECT_EQ(QPoint(grid.currentRow(), grid.currentColumn()), QPoint(80, 3));
    EXPECT_EQ(grid.selectionModel()->selectedIndexes().size(), 12);
    // Scrolled to a row, it is the top one, unless that would leave room below the last row.
    grid.scrollToCell(40, 7);
    EXPECT_EQ(QPoint(grid.topRow(), grid.leftColumn()), QPoint(40, 4));

    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(QPoint(grid.currentRow(), grid.currentColumn()), QPoint(99, 11));
    EXPECT_EQ(QPoint(grid.topRow(), grid.leftColumn()), QPoint(100 - grid.visibleRows(), 4));
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(QPoint(grid.currentRow(), grid.currentColumn()), QPoint(0, 0));
    EXPECT_EQ(QPoint(grid.topRow(), grid.leftColumn()), QPoint(0, 0));
}

TEST(GridView, ColumnsFitHeaderAndSampleTheLastTakesTheRoomLeftAndLongTextsGiveWay)
{
    GridView grid;
    grid.resize(1200, 300);
    QStringList cells;
    for (int r = 0; r < 600; ++r)
        cells << (r == 450 ? QStringLiteral("a cell far down, wider than the rest") : QStringLiteral("r%1").arg(r)) << "";
    const QString header = "A Header Much Wider Than Any Of Its Cells";
    grid.listingModel()->setListing({"h0", header}, cellTable(cells), std::vector<int>(600, 1));
    grid.show();
    const QFontMetrics metrics = grid.fontMetrics();
    const int farCell = metrics.horizontalAdvance(grid.listingModel()->cellText(450, 0));

    // Only the sample is measured: the cell beyond it may be cut, the header never.
    grid.fitColumnsToContents(100);
    EXPECT_LT(grid.columnWidthHeld(0), farCell);
    EXPECT_GT(grid.columnWidthHeld(0), metrics.horizontalAdvance(QStringLiteral("r99")));
    EXPECT_GT(grid.columnWidthHeld(1), grid.horizontalHeader()->fontMetrics().horizontalAdvance(header));
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), grid.columnWidthHeld(0));
    grid.fitColumnsToContents(500);
    EXPECT_GT(grid.columnWidthHeld(0), farCell);

    // The last column stretches into the room left; too little room and the grid scrolls.
    const int first = grid.columnWidthHeld(0);
    const int own = grid.columnWidthHeld(1);
    for (const int room : {first + own + 80, first + own - 10, first + own + 30}) {
        grid.resize(grid.width() - grid.viewport()->width() + room, 200);
        QCoreApplication::processEvents();
        EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), std::max(own, grid.viewport()->width() - first)) << room;
        EXPECT_EQ(grid.columnWidthHeld(1), own) << room;  // the stretch is not taken for the column's own width
    }

    // In a narrow grid long texts give way to short ones.
    const QStringList texts{"A title that goes on and on for rather a long way indeed", "30/09/2024",
                            "Notes that also go on for much longer than a column should"};
    grid.listingModel()->setListing({"a", "b", "c"}, cellTable(texts), {1});
    grid.resize(400, 300);
    grid.fitColumnsToContents();
    EXPECT_GT(grid.columnWidthHeld(1), metrics.horizontalAdvance(texts[1]));
    EXPECT_LT(grid.columnWidthHeld(0), metrics.horizontalAdvance(texts[0]));
    EXPECT_LE(grid.columnWidthHeld(0) + grid.columnWidthHeld(1) + grid.columnWidthHeld(2), grid.viewport()->width());
}
