#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/Grid.h"

namespace {

QStringList rowCells(int row, int cols)
{
    QStringList cells;
    for (int c = 0; c < cols; ++c)
        cells << QStringLiteral("r%1c%2").arg(row).arg(c);
    return cells;
}

void fill(Grid& grid, int rows, int cols)
{
    grid.setCols(cols);
    for (int r = 1; r <= rows; ++r)
        grid.addRow(rowCells(r, cols));
}

// The model tester reports its complaints as warnings.
QStringList gTesterFailures;
void collectTesterFailures(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        gTesterFailures << message;
}

} // namespace

TEST(Grid, HeaderCaptionsAndRowsReadBack)
{
    Grid grid;
    grid.setCols(3);
    grid.setRow(0);
    grid.setCol(1);
    grid.setText("Genre");
    EXPECT_EQ(grid.cellText(0, 1), "Genre");
    EXPECT_EQ(grid.gridModel()->headerData(1, Qt::Horizontal).toString(), "Genre");

    grid.addRow({"Tab\there", "b", "c"});
    grid.addRow({"d"});                       // missing cells are blank
    grid.addRow({"x", "y", "z", "dropped"});  // extra cells have no column
    ASSERT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.gridModel()->rowCount(), 3);
    EXPECT_EQ(grid.cellText(1, 0), "Tab\there");
    EXPECT_EQ(grid.cellText(1, 1), "b");
    EXPECT_EQ(grid.cellText(2, 1), "");
    EXPECT_EQ(grid.gridModel()->index(2, 1).data().toString(), "y");

    grid.removeRow(1);
    grid.removeRow(0);   // the header is not a data row
    EXPECT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.cellText(2, 0), "x");
    // Shrinking brings the current cell back inside; narrowing keeps remaining columns.
    grid.setRow(2);
    grid.setRows(2);
    EXPECT_EQ(grid.row(), 1);
    grid.setCols(2);
    grid.setCols(4);
    EXPECT_EQ(grid.cellText(0, 1), "Genre");
    EXPECT_EQ(grid.cellText(1, 0), "d");
    EXPECT_EQ(grid.cellText(1, 2), "");
}

TEST(Grid, HiddenFillIsOneResetAndShowsAllRows)
{
    QWidget window;
    window.resize(400, 300);
    auto* grid = new Grid(&window);
    grid->resize(380, 280);
    grid->setCols(5);
    window.show();
    GridModel* model = grid->gridModel();
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);

    grid->setVisible(false);
    grid->setRows(2);
    for (int r = 1; r <= 1000; ++r)
        grid->addRow(rowCells(r, 5));
    grid->removeRow(1);
    grid->setRow(600);
    grid->setSelectionRange(600, 0, 600, 4);
    grid->setTopRow(590);
    EXPECT_EQ(grid->rows(), 1001);  // reads during the batch see the grid as it is
    EXPECT_EQ(grid->text(), "r600c0");

    // Showing the parent does not end the grid's batch; the grid's show does.
    window.hide();
    window.show();
    EXPECT_TRUE(model->batching());
    grid->setVisible(true);
    EXPECT_FALSE(model->batching());
    EXPECT_EQ(inserted.count() + removed.count() + changed.count(), 0);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(grid->verticalHeader()->count(), 1000);
    // What was set while hidden now holds in the view.
    EXPECT_EQ(grid->currentIndex(), model->index(599, 0));
    EXPECT_TRUE(grid->selectionModel()->isSelected(model->index(599, 4)));
    EXPECT_EQ(grid->rowAt(0), 589);

    grid->addRow(rowCells(1001, 5));
    EXPECT_EQ(inserted.count(), 1);
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

    grid.setTopRow(1);
    grid.setSelectionRange(10, 0, 10, 11);
    grid.setRow(80);
    grid.setCol(3);
    grid.setRow(101);  // out of range: ignored
    EXPECT_EQ(grid.row(), 80);
    EXPECT_EQ(grid.text(), "r80c3");
    EXPECT_EQ(moved.count(), 2);
    // The view follows when events run, without scrolling or touching the highlight.
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.currentIndex(), grid.gridModel()->index(79, 3));
    EXPECT_EQ(grid.topRow(), 1);
    EXPECT_EQ(grid.selStartRow(), 10);

    grid.setSelectionRange(50, 11, 50, 0);
    EXPECT_EQ(grid.selStartCol(), 0);
    EXPECT_EQ(grid.selEndCol(), 11);
    EXPECT_EQ(grid.selectionModel()->selectedIndexes().size(), 12);
    grid.setTopRow(40);
    EXPECT_EQ(grid.topRow(), 40);
    EXPECT_EQ(grid.rowAt(0), 39);
    grid.setLeftCol(2);
    EXPECT_EQ(grid.leftCol(), 2);
    EXPECT_EQ(grid.colWidth(5), 1440);
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

    bool consume = true;
    int rowAtKey = -1;
    QObject::connect(&grid, &Grid::keyDown, &grid, [&](QKeyEvent*, bool* consumed) {
        rowAtKey = grid.row();
        *consumed = consume;
    });
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.row(), 5);
    EXPECT_EQ(moved.count(), 0);

    // Keys act from the cell made current by code, even before events have run.
    consume = false;
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(rowAtKey, 5);
    EXPECT_EQ(grid.row(), 6);
    EXPECT_EQ(moved.count(), 1);

    // A click makes the cell under the pointer current before it is reported.
    int rowAtClick = -1;
    QObject::connect(&grid, &Grid::cellClicked, &grid, [&] { rowAtClick = grid.row(); });
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.gridModel()->index(2, 0)).center());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(rowAtClick, 3);
    EXPECT_EQ(moved.count(), 2);
}

TEST(Grid, ModelStaysConsistentForViews)
{
    gTesterFailures.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectTesterFailures);
    {
        Grid grid;
        grid.resize(300, 200);
        QAbstractItemModelTester tester(grid.gridModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
        grid.show();
        fill(grid, 30, 4);
        grid.setRow(3);
        grid.setText("changed");
        grid.removeRow(1);
        grid.setRows(40);
        grid.setCols(2);
        grid.hide();
        grid.setRows(2);
        fill(grid, 500, 6);
        grid.show();
        grid.removeRow(grid.rows() - 1);
        EXPECT_EQ(grid.gridModel()->rowCount(), 500);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(gTesterFailures.isEmpty()) << gTesterFailures.join('\n').toStdString();
}
