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
#include <QScrollBar>

#include "app/modQuillary.h"
#include "core/RecordStore.h"
#include "editors/EditorWidgets.h"
#include "platform/Services.h"
#include "platform/Twips.h"

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;

const QString kEmailPrefix = QStringLiteral("mailto:");
const QString kWebPrefix = QStringLiteral("http://");

QLabel* makeSizedLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy, int left, int top,
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

QPlainTextEdit* makeScrolledTextArea(QWidget* parent, const QString& name, const QRect& place)
{
    QPlainTextEdit* area = makeTextArea(parent, name, place);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return area;
}

QListWidget* makeScrolledList(QWidget* parent, const QString& name, QAbstractItemView::SelectionMode mode,
                              const QRect& place)
{
    QListWidget* list = makeList(parent, name, mode, place);
    // One scroll step per entry, so the scroll value is the index of the top entry.
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
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

frmPublisher::frmPublisher(Session& session, Desktop desktop, QWidget* parent)
    : EditorBase(session, desktop, QStringLiteral("Publisher"), QStringLiteral("Publisher"), parent)
{
    setObjectName(QStringLiteral("frmPublisher"));
    setClientSize(11595, 8040);

    txtName = makeLineEdit(this, QStringLiteral("txtName"), twipsRect(975, 660, 10320, 285, this));
    lblName = makeSizedLabel(this, QStringLiteral("lblName"), QStringLiteral("Name :"), txtName, 255, 675, 780, 210);

    lstType = makeScrolledList(this, QStringLiteral("lstType"), QAbstractItemView::SingleSelection,
                               twipsRect(240, 1245, 2775, 2010, this));
    lblType = makeSizedLabel(this, QStringLiteral("lblType"), QStringLiteral("Type :"), lstType, 240, 1020, 615, 255);

    lstGenre = makeScrolledList(this, QStringLiteral("lstGenre"), QAbstractItemView::ExtendedSelection,
                                twipsRect(3240, 1245, 2415, 2010, this));
    lblGenre = makeSizedLabel(this, QStringLiteral("lblGenre"), QStringLiteral("Genre(s) :"), lstGenre, 3240, 1020, 855,
                              255);

    optSubmit = makeYesNoGroup(this, &frmSubmit, QStringLiteral("Submit"), QStringLiteral("Submit To?"),
                               QRect(5880, 1200, 1455, 930), 240);
    optSubmitted = makeYesNoGroup(this, &frmSubmitted, QStringLiteral("Submitted"), QStringLiteral("Submitted To?"),
                                  QRect(5880, 2280, 1455, 930), 240);

    txtAddress = makeScrolledTextArea(this, QStringLiteral("txtAddress"), twipsRect(7575, 1320, 3720, 1065, this));
    lblAddress = makeSizedLabel(this, QStringLiteral("lblAddress"), QStringLiteral("Address :"), txtAddress, 7560, 1080,
                                855, 255);

    txtEmail = makeLineEdit(this, QStringLiteral("txtEmail"), twipsRect(8280, 2520, 3015, 285, this));
    drawAsLink(txtEmail, QStringLiteral("Double-click to write to this address"));
    lblEmail = makeSizedLabel(this, QStringLiteral("lblEmail"), QStringLiteral("E-Mail :"), txtEmail, 7440, 2520, 735,
                              255);

    txtWeb = makeLineEdit(this, QStringLiteral("txtWeb"), twipsRect(8280, 2880, 3015, 285, this));
    drawAsLink(txtWeb, QStringLiteral("Double-click to open this address"));
    lblWeb = makeSizedLabel(this, QStringLiteral("lblWeb"), QStringLiteral("Web :"), txtWeb, 7560, 2880, 615, 255);

    txtGuidelines = makeScrolledTextArea(this, QStringLiteral("txtGuidelines"),
                                         twipsRect(240, 3600, 11175, 1215, this));
    lblGuidelines = makeSizedLabel(this, QStringLiteral("lblGuidelines"), QStringLiteral("Guidelines :"), txtGuidelines,
                                   240, 3360, 1095, 255);

    txtComments = makeScrolledTextArea(this, QStringLiteral("txtComments"), twipsRect(240, 5160, 11175, 2415, this));
    lblComments = makeSizedLabel(this, QStringLiteral("lblComments"), QStringLiteral("Reviews and Notes :"),
                                 txtComments, 240, 4920, 1935, 255);

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

    finishSetup({txtName, lstType, lstGenre,
                 optSubmit->button(kYes), optSubmit->button(kNo),
                 optSubmitted->button(kYes), optSubmitted->button(kNo),
                 txtAddress, txtEmail, txtWeb, txtGuidelines, txtComments});
}

QWidget* frmPublisher::firstField() const
{
    return txtName;
}

// --- Loading ---

void frmPublisher::loadDefaults()
{
    mStoredType = QVariant();
    mStoredGenres.clear();
    for (QLineEdit* line : {txtName, txtEmail, txtWeb})
        line->clear();
    for (QPlainTextEdit* area : {txtAddress, txtGuidelines, txtComments})
        area->clear();
    setOption(optSubmit, kYes);
    setOption(optSubmitted, kNo);
}

bool frmPublisher::loadRecord(RecordStore& store, int id)
{
    const std::optional<PublisherRecord> record = store.publisher(id);
    if (!record)
        return false;
    mStoredType = record->typeId ? QVariant(*record->typeId) : QVariant();
    mStoredGenres = record->genreIds;
    txtName->setText(record->name);
    txtGuidelines->setPlainText(record->guidelines);
    txtComments->setPlainText(record->comments);
    txtAddress->setPlainText(record->address);
    setOption(optSubmit, record->submitTo ? kYes : kNo);
    setOption(optSubmitted, record->submittedTo ? kYes : kNo);
    txtEmail->setText(record->email);
    txtWeb->setText(record->web);
    return true;
}

void frmPublisher::fillLists(RecordStore& store)
{
    // A hidden list would otherwise bring its current entry into view when shown, undoing
    // the scroll position chosen below.
    const bool typeAutoScroll = lstType->hasAutoScroll();
    const bool genreAutoScroll = lstGenre->hasAutoScroll();
    lstType->setAutoScroll(false);
    lstGenre->setAutoScroll(false);
    lstType->clear();
    int firstSelected = -1;
    for (const ListItem& entry : store.publisherTypes()) {
        auto* item = new QListWidgetItem(entry.text, lstType);
        item->setData(Qt::UserRole, entry.id);
        if (!isNew() && mStoredType.isValid() && mStoredType.toLongLong() == entry.id && firstSelected < 0) {
            // The entry shown selected is the one the caret is on, and the one saved.
            lstType->setCurrentItem(item);
            firstSelected = lstType->row(item);
        }
    }
    if (isNew() && lstType->count() > 0)
        lstType->setCurrentRow(0);
    scrollList(lstType, firstSelected);

    lstGenre->clear();
    firstSelected = -1;
    for (const ListItem& entry : store.genres(RecordStore::GenreNames::Plural)) {
        auto* item = new QListWidgetItem(entry.text, lstGenre);
        item->setData(Qt::UserRole, entry.id);
        if (isNew() || !mStoredGenres.contains(entry.id))
            continue;
        item->setSelected(true);
        if (firstSelected < 0) {
            firstSelected = lstGenre->row(item);
            lstGenre->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        }
    }
    if (isNew() && lstGenre->count() > 0)
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
    return askAboutSameName(View::Publisher, txtName->text());
}

int frmPublisher::writeRecord(RecordStore& store, int id)
{
    auto yes = [](const QButtonGroup* group) { return optionIndex(group) == kYes; };
    PublisherRecord publisher;
    publisher.id = id;
    publisher.name = txtName->text();
    const QVariant type = typeToStore();
    if (type.isValid())
        publisher.typeId = type.toInt();
    publisher.guidelines = txtGuidelines->toPlainText();
    publisher.comments = txtComments->toPlainText();
    publisher.address = txtAddress->toPlainText();
    publisher.submitTo = yes(optSubmit);
    publisher.submittedTo = yes(optSubmitted);
    publisher.email = txtEmail->text();
    publisher.web = txtWeb->text();
    for (int i = 0; i < lstGenre->count(); ++i) {
        QListWidgetItem* item = lstGenre->item(i);
        if (item->isSelected())
            publisher.genreIds.append(item->data(Qt::UserRole).toInt());
    }
    return store.savePublisher(publisher);
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
        desktop().links.open(address);
}

void frmPublisher::txtWeb_DblClick()
{
    desktop().links.open(webLink(txtWeb->text()));
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
