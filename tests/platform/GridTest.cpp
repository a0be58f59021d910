#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/Grid.h"
#include "platform/Twips.h"

namespace {

QStringList rowCells(int row, int cols)
{
    QStringList cells;
    for (int c = 0; c < cols; ++c)
        cells << QStringLiteral("r%1c%2").arg(row).arg(c);
    return cells;
}

// A shown grid of `rows` data rows, small enough that only part of it is in view.
void fill(Grid& grid, int rows, int cols)
{
    grid.setCols(cols);
    for (int r = 1; r <= rows; ++r)
        grid.addRow(rowCells(r, cols));
}

// Collects the model tester's complaints, which it reports as warnings.
QStringList gTesterFailures;
void collectTesterFailures(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        gTesterFailures << message;
}

} // namespace

TEST(Grid, HeaderCaptionsAndCellsReadBack)
{
    Grid grid;
    grid.setCols(3);
    grid.setRow(0);
    const QStringList captions{"Work", "Genre", "Written"};
    for (int c = 0; c < 3; ++c) {
        grid.setCol(c);
        grid.setText(captions[c]);
    }
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(grid.cellText(0, c), captions[c]);
        EXPECT_EQ(grid.gridModel()->headerData(c, Qt::Horizontal).toString(), captions[c]);
    }
    EXPECT_EQ(grid.rows(), 1);

    grid.addRow({"a", "b", "c"});
    grid.addRow({"d"});                       // missing cells are blank
    grid.addRow({"x", "y", "z", "dropped"});  // extra cells have no column
    ASSERT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.gridModel()->rowCount(), 3);
    EXPECT_EQ(grid.cellText(1, 2), "c");
    EXPECT_EQ(grid.cellText(2, 0), "d");
    EXPECT_EQ(grid.cellText(2, 1), "");
    EXPECT_EQ(grid.cellText(3, 2), "z");
    EXPECT_EQ(grid.cellText(3, 3), "");
    EXPECT_EQ(grid.gridModel()->index(2, 1).data().toString(), "y");

    grid.setRow(2);
    grid.setCol(1);
    grid.setText("e");
    EXPECT_EQ(grid.text(), "e");
    EXPECT_EQ(grid.cellText(2, 1), "e");

    grid.removeRow(1);
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.cellText(1, 0), "d");
    EXPECT_EQ(grid.cellText(2, 0), "x");
    grid.removeRow(0);   // the header is not a data row
    grid.removeRow(3);   // past the end
    EXPECT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.cellText(0, 0), "Work");

    // Growing keeps the rows and adds blank ones; shrinking drops from the end and
    // brings the current cell back inside the grid.
    grid.setRows(5);
    EXPECT_EQ(grid.cellText(2, 0), "x");
    EXPECT_EQ(grid.cellText(4, 2), "");
    grid.setRow(4);
    grid.setRows(2);
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.cellText(1, 1), "e");

    // Narrowing and widening keep the cells of the remaining columns.
    grid.setCols(2);
    grid.setCols(4);
    EXPECT_EQ(grid.cellText(1, 0), "d");
    EXPECT_EQ(grid.cellText(1, 1), "e");
    EXPECT_EQ(grid.cellText(1, 2), "");
    EXPECT_EQ(grid.cellText(0, 1), "Genre");
    EXPECT_EQ(grid.cellText(0, 2), "");
}

TEST(Grid, ValuesWithTabsStayInTheirCell)
{
    Grid grid;
    grid.setCols(3);
    grid.addRow({"Tab\there", "next", "last"});
    EXPECT_EQ(grid.cellText(1, 0), "Tab\there");
    EXPECT_EQ(grid.cellText(1, 1), "next");
    EXPECT_EQ(grid.cellText(1, 2), "last");
}

TEST(Grid, HiddenFillIsOneResetAndShowsAllRows)
{
    QWidget window;
    window.resize(400, 300);
    auto* grid = new Grid(&window);
    grid->resize(380, 280);
    grid->setCols(4);
    grid->setColWidth(0, 1440);
    window.show();
    GridModel* model = grid->gridModel();

    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);

    grid->setVisible(false);
    grid->setVisible(false);  // a second hide is no second batch
    EXPECT_TRUE(model->batching());
    grid->setRows(2);
    grid->setCols(5);
    grid->setColWidth(4, 720);
    grid->setRow(1);
    grid->setCol(0);
    grid->setText("blank");
    for (int r = 1; r <= 1000; ++r) {
        grid->addRow(rowCells(r, 5));
        if (r == 600) {
            grid->setRow(grid->rows() - 1);
            grid->setSelectionRange(grid->row(), 0, grid->row(), grid->cols() - 1);
        }
    }
    grid->removeRow(1);

    // Reads during the batch see the grid as it now is.
    EXPECT_EQ(grid->rows(), 1001);
    EXPECT_EQ(grid->cellText(1, 0), "r1c0");
    EXPECT_EQ(grid->selStartRow(), 600);  // shifted up with the removed row
    EXPECT_EQ(grid->selEndRow(), 600);
    EXPECT_EQ(grid->selEndCol(), 4);
    grid->setRow(grid->selStartRow());
    EXPECT_EQ(grid->text(), "r600c0");
    grid->setTopRow(590);
    EXPECT_EQ(grid->topRow(), 590);

    // Showing the parent again does not end the grid's batch; the grid's show does.
    window.hide();
    window.show();
    EXPECT_TRUE(model->batching());
    EXPECT_EQ(reset.count(), 0);
    grid->setVisible(true);
    grid->setVisible(true);
    model->endBatch();  // unbalanced: ignored
    EXPECT_FALSE(model->batching());

    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model->rowCount(), 1000);
    EXPECT_EQ(model->columnCount(), 5);
    EXPECT_EQ(grid->verticalHeader()->count(), 1000);
    EXPECT_EQ(grid->horizontalHeader()->count(), 5);
    EXPECT_EQ(grid->colWidth(0), 1440);
    EXPECT_NEAR(grid->colWidth(4), 720, 15);

    // What was set while hidden now holds in the view.
    EXPECT_EQ(grid->currentIndex(), model->index(599, 0));
    EXPECT_EQ(grid->selStartRow(), 600);
    EXPECT_EQ(grid->selEndRow(), 600);
    EXPECT_EQ(grid->selStartCol(), 0);
    EXPECT_EQ(grid->selEndCol(), 4);
    EXPECT_TRUE(grid->selectionModel()->isSelected(model->index(599, 4)));
    EXPECT_EQ(grid->topRow(), 590);
    EXPECT_EQ(grid->rowAt(0), 589);

    // Shown, changes reach the view one by one again.
    grid->addRow(rowCells(1001, 5));
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(grid->verticalHeader()->count(), 1001);
}

TEST(Grid, CurrentCellSelectionAndScrollingRoundTrip)
{
    Grid grid;
    grid.resize(300, 200);
    fill(grid, 100, 12);
    for (int c = 0; c < 12; ++c)
        grid.setColWidth(c, 1440);
    grid.show();
    QSignalSpy moved(&grid, &Grid::currentCellChanged);

    grid.setRow(50);
    grid.setCol(3);
    EXPECT_EQ(grid.row(), 50);
    EXPECT_EQ(grid.col(), 3);
    EXPECT_EQ(grid.text(), "r50c3");
    QCoreApplication::processEvents();  // the view follows when events run
    EXPECT_EQ(grid.currentIndex(), grid.gridModel()->index(49, 3));
    EXPECT_EQ(moved.count(), 2);
    grid.setCol(3);  // no move, no signal
    EXPECT_EQ(moved.count(), 2);
    grid.setRow(101);  // out of range: ignored
    grid.setCol(-1);
    EXPECT_EQ(grid.row(), 50);
    EXPECT_EQ(grid.col(), 3);

    // Making a cell current does not scroll it into view or touch the highlight.
    grid.setTopRow(1);
    grid.setLeftCol(0);
    grid.setSelectionRange(10, 0, 10, 11);
    grid.setRow(80);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.currentIndex().row(), 79);
    EXPECT_EQ(grid.topRow(), 1);
    EXPECT_EQ(grid.selStartRow(), 10);

    // A whole highlighted row with the current cell elsewhere in it.
    grid.setRow(50);
    grid.setSelectionRange(50, 3, 50, 3);
    grid.setSelectionRange(50, 11, 50, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.selStartRow(), 50);
    EXPECT_EQ(grid.selEndRow(), 50);
    EXPECT_EQ(grid.selStartCol(), 0);
    EXPECT_EQ(grid.selEndCol(), 11);
    EXPECT_EQ(grid.currentIndex(), grid.gridModel()->index(49, 3));
    EXPECT_EQ(grid.selectionModel()->selectedIndexes().size(), 12);

    grid.setTopRow(40);
    EXPECT_EQ(grid.topRow(), 40);
    EXPECT_EQ(grid.rowAt(0), 39);
    grid.setLeftCol(2);
    EXPECT_EQ(grid.leftCol(), 2);
    EXPECT_EQ(grid.columnAt(0), 2);

    // Row 0 addresses the header; the view keeps its data cell.
    grid.setRow(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.row(), 0);
    EXPECT_EQ(grid.currentIndex(), grid.gridModel()->index(49, 3));

    EXPECT_EQ(grid.colWidth(5), 1440);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(5), twipsToPixels(1440, &grid));
    EXPECT_GT(grid.headerRowHeight(), 0);
}

TEST(Grid, KeysAndClicksMoveTheCurrentCell)
{
    Grid grid;
    grid.resize(300, 200);
    fill(grid, 20, 3);
    grid.show();
    grid.setRow(5);
    grid.setCol(1);
    QSignalSpy moved(&grid, &Grid::currentCellChanged);
    QSignalSpy clicked(&grid, &Grid::cellClicked);
    QSignalSpy doubleClicked(&grid, &Grid::cellDoubleClicked);

    bool consume = true;
    QList<int> keysSeen;
    QList<int> rowsSeen;
    QObject::connect(&grid, &Grid::keyDown, &grid, [&](QKeyEvent* event, bool* consumed) {
        keysSeen << event->key();
        rowsSeen << grid.row();  // the grid has not acted on the key yet
        if (event->key() == Qt::Key_Up)
            grid.setRow(10);     // a handler may move the cell the key then acts on
        *consumed = consume;
    });

    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(keysSeen, QList<int>{Qt::Key_Down});
    EXPECT_EQ(grid.row(), 5);
    EXPECT_EQ(moved.count(), 0);

    // Keys act from the cell made current by code, even before events have run.
    consume = false;
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(rowsSeen.last(), 5);
    EXPECT_EQ(grid.row(), 6);
    EXPECT_EQ(grid.col(), 1);
    EXPECT_EQ(moved.count(), 1);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.row(), 6);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(moved.count(), 2);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(grid.row(), 9);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(moved.count(), 4);

    // A click makes the cell under the pointer current before it is reported.
    const QModelIndex target = grid.gridModel()->index(2, 0);
    int rowAtClick = -1;
    QObject::connect(&grid, &Grid::cellClicked, &grid, [&] { rowAtClick = grid.row(); });
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(target).center());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(rowAtClick, 3);
    EXPECT_EQ(grid.col(), 0);
    EXPECT_EQ(moved.count(), 5);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(target).center());
    EXPECT_EQ(doubleClicked.count(), 1);

    // Below the last row there is no cell to click.
    grid.setRows(2);
    const qsizetype clicksBefore = clicked.count();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, grid.viewport()->height() - 3));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, grid.viewport()->height() - 3));
    EXPECT_EQ(clicked.count(), clicksBefore);
    EXPECT_EQ(doubleClicked.count(), 1);
}

TEST(Grid, ModelStaysConsistentForViews)
{
    gTesterFailures.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectTesterFailures);
    {
        Grid grid;
        grid.resize(300, 200);
        QAbstractItemModelTester tester(grid.gridModel(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        grid.show();
        grid.setCols(4);
        fill(grid, 30, 4);
        grid.setRow(0);
        grid.setText("Caption");
        grid.setRow(3);
        grid.setText("changed");
        grid.removeRow(1);
        grid.setRows(10);
        grid.setRows(40);
        grid.setCols(2);
        grid.setCols(6);
        grid.hide();
        grid.setRows(2);
        fill(grid, 500, 6);
        grid.removeRow(1);
        grid.show();
        grid.removeRow(grid.rows() - 1);
        EXPECT_EQ(grid.gridModel()->rowCount(), 499);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(gTesterFailures.isEmpty()) << gTesterFailures.join('\n').toStdString();
}

// Run by hand: test_platform --gtest_also_run_disabled_tests --gtest_filter=*Timing*
// Times a hidden fill of the largest view and the show that follows, twice (the
// first fill also pays for the cells' memory).
TEST(Grid, DISABLED_HiddenFillTiming)
{
    QWidget window;
    window.resize(1200, 800);
    auto* grid = new Grid(&window);
    grid->resize(1180, 760);
    grid->setCols(9);
    window.show();
    QCoreApplication::processEvents();

    std::vector<QStringList> source;
    for (int r = 1; r <= 32767; ++r)
        source.push_back(rowCells(r, 9));

    for (int pass = 1; pass <= 2; ++pass) {
        QElapsedTimer timer;
        timer.start();
        grid->setVisible(false);
        grid->setRows(2);
        for (const QStringList& cells : source)
            grid->addRow(cells);
        grid->removeRow(1);
        const qint64 added = timer.elapsed();
        grid->setRow(1);
        grid->setSelectionRange(1, 0, 1, 8);
        grid->setVisible(true);
        const qint64 shown = timer.elapsed();
        QCoreApplication::processEvents();
        const qint64 painted = timer.elapsed();
        std::printf("fill %d of 32767 x 9: rows added %lld ms, shown %lld ms, painted %lld ms\n", pass,
                    static_cast<long long>(added), static_cast<long long>(shown),
                    static_cast<long long>(painted));
        EXPECT_EQ(grid->gridModel()->rowCount(), 32767);
        EXPECT_EQ(grid->verticalHeader()->count(), 32767);
        EXPECT_EQ(grid->cellText(32767, 8), "r32767c8");
    }

    // A search visits every cell by making it current.
    QElapsedTimer timer;
    timer.start();
    qsizetype length = 0;
    for (int r = 1; r < grid->rows(); ++r) {
        grid->setRow(r);
        for (int c = 0; c < grid->cols(); ++c) {
            grid->setCol(c);
            length += grid->text().size();
        }
    }
    std::printf("every cell made current in turn: %lld ms\n", static_cast<long long>(timer.elapsed()));
    EXPECT_GT(length, 0);
}
