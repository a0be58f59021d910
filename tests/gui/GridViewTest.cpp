#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "gui/GridView.h"

namespace {

CellTable cellTable(const QStringList& texts)
{
    CellTable table;
    for (const QString& text : texts)
        table.cells.push_back(table.add(text));
    return table;
}

// Rows 1 to rows of cells "r<row>c<col>"; shown at the given size when there is one.
void fill(GridView& grid, int rows, int cols, QSize shownAt = {})
{
    grid.setCols(cols);
    QStringList cells;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 0; c < cols; ++c)
            cells << QStringLiteral("r%1c%2").arg(r).arg(c);
    }
    grid.replaceRows(cellTable(cells), std::vector<int>(static_cast<size_t>(rows), 0));
    if (shownAt.isValid()) {
        grid.resize(shownAt);
        grid.show();
    }
}

void setCell(GridView& grid, int row, int col, const QString& text)
{
    grid.setRow(row);
    grid.setCol(col);
    grid.setText(text);
}

// The model tester reports its complaints as warnings.
QStringList gTesterFailures;
void collectTesterFailures(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        gTesterFailures << message;
}

} // namespace

TEST(GridView, HeaderCaptionsAndCellsSetOverAndOverReadBack)
{
    GridView grid;
    fill(grid, 20, 3);
    setCell(grid, 0, 1, "Genre");
    EXPECT_EQ(grid.gridModel()->headerData(1, Qt::Horizontal).toString(), "Genre");
    // The texts no cell shows any more are dropped on the way.
    for (int round = 0; round < 50; ++round) {
        for (int r = 1; r <= 20; ++r)
            setCell(grid, r, round % 3, QStringLiteral("%1/%2").arg(r).arg(round));
    }
    for (int r = 1; r <= 20; ++r)
        EXPECT_EQ(grid.cellText(r, 0) + grid.cellText(r, 1) + grid.cellText(r, 2), QStringLiteral("%1/48%1/49%1/47").arg(r));
}

TEST(GridView, CurrentCellSelectionScrollingVisibleRowsAndKeys)
{
    GridView grid;
    fill(grid, 100, 12, QSize(300, 200));
    grid.setTopRow(1);
    grid.setRow(80);
    grid.setCol(3);
    grid.setRow(101);  // out of range: ignored
    EXPECT_EQ(grid.text(), "r80c3");
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.currentIndex(), grid.gridModel()->index(79, 3));
    EXPECT_EQ(grid.topRow(), 1);  // the view follows without scrolling

    grid.setSelectionRange(50, 11, 50, 0);
    EXPECT_EQ(QVector<int>({grid.selStartRow(), grid.selStartCol(), grid.selEndCol()}), QVector<int>({50, 0, 11}));
    grid.setTopRow(40);
    EXPECT_EQ(grid.topRow(), 40);
    EXPECT_EQ(grid.rowAt(0), 39);
    // The rows visible are the whole rows that fit.
    EXPECT_LE(grid.visibleRows() * grid.rowHeight(0), grid.viewport()->height());
    EXPECT_GT((grid.visibleRows() + 1) * grid.rowHeight(0), grid.viewport()->height());

    // A key a handler consumes moves nothing; others act from the cell made current by
    // code, even before events have run.
    grid.setRow(5);
    QSignalSpy moved(&grid, &GridView::currentCellChanged);
    bool consume = true;
    QObject::connect(&grid, &GridView::keyDown, &grid, [&](QKeyEvent*, bool* consumed) { *consumed = consume; });
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(QPoint(grid.row(), moved.count()), QPoint(5, 0));
    consume = false;
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(QPoint(grid.row(), moved.count()), QPoint(6, 1));
}

TEST(GridView, AHiddenFillIsOneResetAndReplacedRowsKeepTheirIdsWithTheModelConsistent)
{
    gTesterFailures.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectTesterFailures);
    {
        GridView grid;
        QAbstractItemModelTester tester(grid.gridModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
        ListingModel* model = grid.gridModel();
        fill(grid, 30, 4, QSize(380, 280));
        setCell(grid, 3, 0, "changed");

        // Hidden, rows come without a signal each; shown again, one reset, and what was set
        // meanwhile holds in the view.
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(model, &QAbstractItemModel::modelReset);
        grid.hide();
        grid.setRows(1);
        fill(grid, 1000, 5);
        grid.setRow(600);
        grid.setSelectionRange(600, 0, 600, 4);
        grid.setTopRow(590);
        EXPECT_EQ(grid.text(), "r600c0");  // reads during the batch see the grid as it is
        grid.show();
        EXPECT_EQ(QVector<int>({int(inserted.count() + changed.count()), int(reset.count())}), QVector<int>({0, 1}));
        EXPECT_EQ(grid.verticalHeader()->count(), 1000);
        EXPECT_EQ(grid.currentIndex(), model->index(599, 0));
        EXPECT_TRUE(grid.selectionModel()->isSelected(model->index(599, 4)));
        EXPECT_EQ(grid.rowAt(0), 589);

        // Replacing every row, shown: the view reset at once, the current row kept inside the
        // new rows, the IDs with their rows.
        grid.setCols(3);
        grid.replaceRows(cellTable({"a", "b", "c", "d", "e", "f"}), {7, 9});
        ASSERT_EQ(grid.rows(), 3);
        EXPECT_EQ(model->rowCount(), 2);
        EXPECT_EQ(grid.cellText(2, 0), "d");
        EXPECT_EQ(QVector<int>({grid.rowId(2), grid.rowOfId(7), grid.row()}), QVector<int>({9, 1, 2}));
        // Hidden: one reset when shown again; a short last row is padded with blanks.
        grid.setVisible(false);
        grid.setSelectionRange(1, 0, 2, 2);
        grid.replaceRows(cellTable({"x", "y", "z", "w"}), {1, 2});
        EXPECT_EQ(grid.cellText(2, 0) + "|" + grid.cellText(2, 2), "w|");
        EXPECT_EQ(model->rowCount(), 2);  // what the view was last told
        grid.setVisible(true);
        EXPECT_EQ(reset.count(), 3);
        EXPECT_TRUE(grid.selectionModel()->selectedIndexes().isEmpty());
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(gTesterFailures.isEmpty()) << gTesterFailures.join('\n').toStdString();
}

TEST(GridView, ColumnsFitTheHeaderAndASampleOfRows)
{
    GridView grid;
    grid.resize(1200, 300);
    grid.setVisible(false);
    fill(grid, 600, 3);
    setCell(grid, 0, 1, "A Header Much Wider Than Any Of Its Cells Ever Is");
    setCell(grid, 450, 0, "a cell far down, wider than the rest");
    grid.setVisible(true);
    const QFontMetrics cells = grid.fontMetrics();
    const int farCell = cells.horizontalAdvance(grid.cellText(450, 0));

    // Only the sample is measured: the cell beyond it may be cut, the header never.
    grid.fitColumnsToContents(100);
    EXPECT_LT(grid.colWidth(0), farCell);
    EXPECT_GT(grid.colWidth(0), cells.horizontalAdvance(QStringLiteral("r100c0")));
    EXPECT_GT(grid.colWidth(1), grid.horizontalHeader()->fontMetrics().horizontalAdvance(grid.cellText(0, 1)));
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), grid.colWidth(0));
    // A sample that reaches the cell makes room for it.
    grid.fitColumnsToContents(500);
    EXPECT_GT(grid.colWidth(0), farCell);
}

TEST(GridView, TheLastColumnTakesTheRoomLeftButNeverLessThanItsOwnWidth)
{
    GridView grid;
    fill(grid, 3, 2, QSize(640, 480));
    setCell(grid, 0, 1, "Date Of Outstanding Submission");
    grid.fitColumnsToContents();
    const int first = grid.colWidth(0);
    const int own = grid.colWidth(1);
    // For each room given: what the last column's section should be.
    for (const int room : {first + own + 80, first + own - 10, first + own + 30}) {
        grid.resize(grid.width() - grid.viewport()->width() + room, 200);
        QCoreApplication::processEvents();
        // Too little room: the header stays whole and the grid scrolls.
        EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), std::max(own, grid.viewport()->width() - first)) << room;
        EXPECT_EQ(grid.colWidth(1), own) << room;  // the stretch is not taken for the column's own width
    }
}

TEST(GridView, InANarrowGridLongTextsGiveWayToShortOnes)
{
    GridView grid;
    grid.resize(1200, 300);
    grid.setCols(3);
    grid.replaceRows(cellTable({"A title that goes on and on for rather a long way indeed", "30/09/2024",
                                "Notes that also go on for much longer than a column should"}),
                     {0});
    grid.show();
    const QFontMetrics cells = grid.fontMetrics();
    grid.fitColumnsToContents();
    // With room enough every text shows whole.
    for (int c = 0; c < 3; ++c)
        EXPECT_GT(grid.colWidth(c), cells.horizontalAdvance(grid.cellText(1, c))) << c;

    grid.resize(400, 300);
    QCoreApplication::processEvents();
    grid.fitColumnsToContents();
    EXPECT_GT(grid.colWidth(1), cells.horizontalAdvance(grid.cellText(1, 1)));
    EXPECT_LT(grid.colWidth(0), cells.horizontalAdvance(grid.cellText(1, 0)));
    EXPECT_LE(grid.colWidth(0) + grid.colWidth(1) + grid.colWidth(2), grid.viewport()->width());
}
