#include "editors/frmPublisher.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "app/modQuillary.h"
#include "data/Statements.h"
#include "platform/Services.h"
#include "platform/Twips.h"

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;

const QString kEmailPrefix = QStringLiteral("mailto:");
const QString kWebPrefix = QStringLiteral("http://");

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy, int left, int top,
                  int width, int height)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    // Never cut the caption short where the font is wider than the layout allows for.
    QRect place = twipsRect(left, top, width, height, parent);
    place.setWidth(std::max(place.width(), label->sizeHint().width()));
    place.setHeight(std::max(place.height(), label->sizeHint().height()));
    label->setGeometry(place);
    return label;
}

QPlainTextEdit* makeTextArea(QWidget* parent, const QString& name, const QRect& place)
{
    auto* area = new QPlainTextEdit(parent);
    area->setObjectName(name);
    area->setGeometry(place);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next field, as in every other box of the window.
    area->setTabChangesFocus(true);
    return area;
}

QListWidget* makeList(QWidget* parent, const QString& name, QAbstractItemView::SelectionMode mode,
                      const QRect& place)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(mode);
    list->setSortingEnabled(false);
    // One scroll step per entry, so the scroll value is the index of the top entry.
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setGeometry(place);
    return list;
}

// Addresses are drawn as links: the highlight colour, underlined.
void drawAsLink(QLineEdit* field, const QString& tip)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, QApplication::palette().color(QPalette::Highlight));
    field->setPalette(palette);
    QFont font = field->font();
    font.setUnderline(true);
    field->setFont(font);
    field->setToolTip(tip);
}

} // namespace

frmPublisher::frmPublisher(QWidget* parent)
    : EditorBase(QStringLiteral("Publisher"), QStringLiteral("Publisher"), parent)
{
    setObjectName(QStringLiteral("frmPublisher"));
    setClientSize(11595, 8040);

    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setGeometry(twipsRect(975, 660, 10320, 285, this));
    lblName = makeLabel(this, QStringLiteral("lblName"), QStringLiteral("Name :"), txtName, 255, 675, 780, 210);

    lstType = makeList(this, QStringLiteral("lstType"), QAbstractItemView::SingleSelection,
                       twipsRect(240, 1245, 2775, 2010, this));
    lblType = makeLabel(this, QStringLiteral("lblType"), QStringLiteral("Type :"), lstType, 240, 1020, 615, 255);

    lstGenre = makeList(this, QStringLiteral("lstGenre"), QAbstractItemView::ExtendedSelection,
                        twipsRect(3240, 1245, 2415, 2010, this));
    lblGenre = makeLabel(this, QStringLiteral("lblGenre"), QStringLiteral("Genre(s) :"), lstGenre, 3240, 1020, 855,
                         255);

    optSubmit = makeOptionGroup(&frmSubmit, QStringLiteral("Submit"), QStringLiteral("Submit To?"), 1200);
    optSubmitted = makeOptionGroup(&frmSubmitted, QStringLiteral("Submitted"), QStringLiteral("Submitted To?"), 2280);

    txtAddress = makeTextArea(this, QStringLiteral("txtAddress"), twipsRect(7575, 1320, 3720, 1065, this));
    lblAddress = makeLabel(this, QStringLiteral("lblAddress"), QStringLiteral("Address :"), txtAddress, 7560, 1080,
                           855, 255);

    txtEmail = new QLineEdit(this);
    txtEmail->setObjectName(QStringLiteral("txtEmail"));
    txtEmail->setGeometry(twipsRect(8280, 2520, 3015, 285, this));
    drawAsLink(txtEmail, QStringLiteral("Double-click to write to this address"));
    lblEmail = makeLabel(this, QStringLiteral("lblEmail"), QStringLiteral("E-Mail :"), txtEmail, 7440, 2520, 735,
                         255);

    txtWeb = new QLineEdit(this);
    txtWeb->setObjectName(QStringLiteral("txtWeb"));
    txtWeb->setGeometry(twipsRect(8280, 2880, 3015, 285, this));
    drawAsLink(txtWeb, QStringLiteral("Double-click to open this address"));
    lblWeb = makeLabel(this, QStringLiteral("lblWeb"), QStringLiteral("Web :"), txtWeb, 7560, 2880, 615, 255);

    txtGuidelines = makeTextArea(this, QStringLiteral("txtGuidelines"), twipsRect(240, 3600, 11175, 1215, this));
    lblGuidelines = makeLabel(this, QStringLiteral("lblGuidelines"), QStringLiteral("Guidelines :"), txtGuidelines,
                              240, 3360, 1095, 255);

    txtComments = makeTextArea(this, QStringLiteral("txtComments"), twipsRect(240, 5160, 11175, 2415, this));
    lblComments = makeLabel(this, QStringLiteral("lblComments"), QStringLiteral("Reviews and Notes :"), txtComments,
                            240, 4920, 1935, 255);

    addTextField(txtName, kName);
    addTextField(txtGuidelines, kGuidelines);
    addTextField(txtComments, kComments);
    addTextField(txtAddress, kAddress);
    addTextField(txtEmail, kEmail);
    addTextField(txtWeb, kWeb);
    // The lists and option buttons leave the hot-key target alone, so a hot key still
    // types into the text field used before; only Previous and Next clear it.
    watchForChanges(lstType);
    watchForChanges(lstGenre);
    watchForChanges(optSubmit);
    watchForChanges(optSubmitted);

    // Double clicks on the addresses open them.
    txtEmail->installEventFilter(this);
    txtWeb->installEventFilter(this);

    QWidget* order[] = {txtName, lstType, lstGenre,
                        optSubmit->button(kYes), optSubmit->button(kNo),
                        optSubmitted->button(kYes), optSubmitted->button(kNo),
                        txtAddress, txtEmail, txtWeb, txtGuidelines, txtComments};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    finishSetup(order[std::size(order) - 1]);
}

QButtonGroup* frmPublisher::makeOptionGroup(QGroupBox** frame, const QString& name, const QString& title, int top)
{
    *frame = new QGroupBox(title, this);
    (*frame)->setObjectName(QStringLiteral("frm") + name);
    (*frame)->setGeometry(twipsRect(5880, top, 1455, 930, this));
    auto* group = new QButtonGroup(this);
    group->setObjectName(QStringLiteral("opt") + name);
    group->setExclusive(true);
    const QString captions[] = {QStringLiteral("Yes"), QStringLiteral("No")};
    const int tops[] = {360, 600};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(captions[i], *frame);
        button->setObjectName(QStringLiteral("opt%1%2").arg(name).arg(i));
        button->setAccessibleName(title + QLatin1Char(' ') + captions[i]);
        // Tall enough for the indicator without reaching the button below.
        QRect place = twipsRect(240, tops[i], 735, 240, this);
        place.setWidth(std::max(place.width(), button->sizeHint().width()));
        button->setGeometry(place);
        group->addButton(button, i);
    }
    return group;
}

QWidget* frmPublisher::firstField() const
{
    return txtName;
}

// --- Loading ---

void frmPublisher::loadDefaults()
{
    mStoredType = QVariant();
    for (QLineEdit* line : {txtName, txtEmail, txtWeb})
        line->clear();
    for (QPlainTextEdit* area : {txtAddress, txtGuidelines, txtComments})
        area->clear();
    setOption(optSubmit, kYes);
    setOption(optSubmitted, kNo);
}

void frmPublisher::loadRecord(const EditorRecord& record)
{
    mStoredType = record.value(QStringLiteral("Type_ID"));
    txtName->setText(record.text(QStringLiteral("Name")));
    txtGuidelines->setPlainText(record.text(QStringLiteral("Guidelines")));
    txtComments->setPlainText(record.text(QStringLiteral("Comments")));
    txtAddress->setPlainText(record.text(QStringLiteral("Address")));
    setOption(optSubmit, record.flag(QStringLiteral("Submit_To?")) ? kYes : kNo);
    setOption(optSubmitted, record.flag(QStringLiteral("Submitted_To?")) ? kYes : kNo);
    txtEmail->setText(record.text(QStringLiteral("E-Mail_Address")));
    txtWeb->setText(record.text(QStringLiteral("Web_Address")));
}

void frmPublisher::fillLists(SQLite::Database& database, const EditorRecord* record)
{
    // A hidden list would otherwise bring its current entry into view when shown, undoing
    // the scroll position chosen below.
    const bool typeAutoScroll = lstType->hasAutoScroll();
    const bool genreAutoScroll = lstGenre->hasAutoScroll();
    lstType->setAutoScroll(false);
    lstGenre->setAutoScroll(false);
    lstType->clear();
    int firstSelected = -1;
    {
        SQLite::Statement query(database, sql::kPublisherTypes.toStdString());
        while (query.executeStep()) {
            const int id = query.getColumn("ID").getInt();
            auto* item = new QListWidgetItem(QString::fromUtf8(query.getColumn("Description").getText()), lstType);
            item->setData(Qt::UserRole, id);
            if (record && mStoredType.isValid() && mStoredType.toLongLong() == id && firstSelected < 0) {
                // The entry shown selected is the one the caret is on, and the one saved.
                lstType->setCurrentItem(item);
                firstSelected = lstType->row(item);
            }
        }
    }
    if (!record && lstType->count() > 0)
        lstType->setCurrentRow(0);
    scrollList(lstType, firstSelected);

    lstGenre->clear();
    firstSelected = -1;
    {
        SQLite::Statement link(database, sql::kPublisherGenreLink.toStdString());
        SQLite::Statement query(database, sql::kGenres.toStdString());
        while (query.executeStep()) {
            const int id = query.getColumn("ID").getInt();
            auto* item = new QListWidgetItem(QString::fromUtf8(query.getColumn("Description_Plural").getText()),
                                             lstGenre);
            item->setData(Qt::UserRole, id);
            if (!record)
                continue;
            link.reset();
            link.bind(1, record->id);
            link.bind(2, id);
            if (link.executeStep()) {
                item->setSelected(true);
                if (firstSelected < 0) {
                    firstSelected = lstGenre->row(item);
                    lstGenre->setCurrentItem(item, QItemSelectionModel::NoUpdate);
                }
            }
        }
    }
    if (!record && lstGenre->count() > 0)
        lstGenre->setCurrentRow(0);
    scrollList(lstGenre, firstSelected);
    lstType->setAutoScroll(typeAutoScroll);
    lstGenre->setAutoScroll(genreAutoScroll);
}

int frmPublisher::listTopIndex(int firstSelected, int count)
{
    if (firstSelected < 0)
        return -1;
    return std::max(0, std::min(firstSelected, count - 3));
}

void frmPublisher::scrollList(QListWidget* list, int firstSelected)
{
    const int top = listTopIndex(firstSelected, list->count());
    if (top < 0)
        return;
    // The list lays its entries out later; the scroll range must be known now.
    list->doItemsLayout();
    list->verticalScrollBar()->setValue(top);
}

// --- Saving ---

bool frmPublisher::storedTypeListed() const
{
    if (!mStoredType.isValid())
        return false;
    for (int i = 0; i < lstType->count(); ++i) {
        if (lstType->item(i)->data(Qt::UserRole).toLongLong() == mStoredType.toLongLong())
            return true;
    }
    return false;
}

QVariant frmPublisher::typeToStore() const
{
    const QList<QListWidgetItem*> selected = lstType->selectedItems();
    if (!selected.isEmpty())
        return selected.first()->data(Qt::UserRole);
    // A type that is no longer listed stays as it is until the user chooses another.
    if (!isNew() && !storedTypeListed())
        return mStoredType;
    return QVariant();
}

EditorBase::SaveResult frmPublisher::beforeSave()
{
    const bool keepsUnlistedType = !isNew() && lstType->selectedItems().isEmpty() && !storedTypeListed();
    if (lstType->selectedItems().isEmpty() && !keepsUnlistedType)
        return refuse(QStringLiteral("Choose a type for this Publisher before saving."));
    if (!isNew())
        return SaveResult::Saved;
    // The name is bound: quotes in it cannot end the statement.
    bool exists = false;
    try {
        SQLite::Statement query(*gDatabase, sql::kPublisherByName.toStdString());
        query.bind(1, txtName->text().toStdString());
        exists = query.executeStep();
    } catch (const std::exception& e) {
        return refuse(QStringLiteral("The Publisher could not be saved.\n\n%1").arg(QString::fromUtf8(e.what())));
    }
    if (exists
        && services().prompts->message(this,
                                       QStringLiteral("A Publisher with this name already exists in the system - continue?"),
                                       Prompts::Buttons::YesNo, Prompts::Icon::Critical, Prompts::Answer::Yes)
               != Prompts::Answer::Yes)
        return SaveResult::Declined;
    return SaveResult::Saved;
}

FieldValues frmPublisher::fieldValues() const
{
    auto yes = [](const QButtonGroup* group) { return optionIndex(group) == kYes ? 1 : 0; };
    return {
        {QStringLiteral("Name"), txtName->text()},
        {QStringLiteral("Type_ID"), typeToStore()},
        {QStringLiteral("Guidelines"), txtGuidelines->toPlainText()},
        {QStringLiteral("Comments"), txtComments->toPlainText()},
        {QStringLiteral("Address"), txtAddress->toPlainText()},
        {QStringLiteral("Submit_To?"), yes(optSubmit)},
        {QStringLiteral("Submitted_To?"), yes(optSubmitted)},
        {QStringLiteral("E-Mail_Address"), txtEmail->text()},
        {QStringLiteral("Web_Address"), txtWeb->text()},
    };
}

void frmPublisher::afterWrite(SQLite::Database& database, int id)
{
    // Inside the save's transaction: the links go under the row just written (a new
    // publisher's own ID, never one found by name), or not at all.
    database.exec(sql::deletePublisherGenres(id).toStdString());
    SQLite::Statement insert(database, sql::kInsertPublisherGenre.toStdString());
    for (int i = 0; i < lstGenre->count(); ++i) {
        QListWidgetItem* item = lstGenre->item(i);
        if (!item->isSelected())
            continue;
        insert.reset();
        insert.bind(1, id);
        insert.bind(2, item->data(Qt::UserRole).toInt());
        insert.exec();
    }
}

void frmPublisher::afterSave(int id)
{
    if (isNew())
        gRecordID = id;
}

// --- Links ---

QString frmPublisher::emailLink(const QString& text)
{
    if (!text.contains(QLatin1Char('@')))
        return QString();
    return kEmailPrefix + text;
}

QString frmPublisher::webLink(const QString& text)
{
    if (text.startsWith(kWebPrefix, Qt::CaseSensitive))
        return text;
    return kWebPrefix + text;
}

void frmPublisher::txtEmail_DblClick()
{
    const QString address = emailLink(txtEmail->text());
    if (!address.isEmpty())
        services().links->open(address);
}

void frmPublisher::txtWeb_DblClick()
{
    services().links->open(webLink(txtWeb->text()));
}

bool frmPublisher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == txtEmail)
            txtEmail_DblClick();
        else if (watched == txtWeb)
            txtWeb_DblClick();
    }
    return EditorBase::eventFilter(watched, event);
}
