#include "editors/frmPublisher.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
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

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;

const QString kEmailPrefix = QStringLiteral("mailto:");
const QString kWebPrefix = QStringLiteral("http://");

QPlainTextEdit* makeScrolledTextArea(QWidget* parent, const QString& name, int lines)
{
    QPlainTextEdit* area = makeTextArea(parent, name, lines);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return area;
}

QListWidget* makeScrolledList(QWidget* parent, const QString& name, QAbstractItemView::SelectionMode mode)
{
    QListWidget* list = makeList(parent, name, mode, 7);
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
    auto* fields = new QVBoxLayout;

    // The name across the top.
    txtName = makeLineEdit(this, QStringLiteral("txtName"));
    lblName = makeLabel(this, QStringLiteral("lblName"), QStringLiteral("Name :"), txtName);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(lblName);
    nameRow->addWidget(txtName, 1);
    fields->addLayout(nameRow);
    fields->addSpacing(fontMetrics().height() / 2);

    // Side by side: type, genres, the two flags, and the addresses.
    auto* middle = new QGridLayout;
    middle->setVerticalSpacing(2);
    lstType = makeScrolledList(this, QStringLiteral("lstType"), QAbstractItemView::SingleSelection);
    lblType = makeLabel(this, QStringLiteral("lblType"), QStringLiteral("Type :"), lstType);
    middle->addWidget(lblType, 0, 0);
    middle->addWidget(lstType, 1, 0);

    lstGenre = makeScrolledList(this, QStringLiteral("lstGenre"), QAbstractItemView::ExtendedSelection);
    lblGenre = makeLabel(this, QStringLiteral("lblGenre"), QStringLiteral("Genre(s) :"), lstGenre);
    middle->addWidget(lblGenre, 0, 1);
    middle->addWidget(lstGenre, 1, 1);

    optSubmit = makeYesNoGroup(this, &frmSubmit, QStringLiteral("Submit"), QStringLiteral("Submit To?"));
    optSubmitted = makeYesNoGroup(this, &frmSubmitted, QStringLiteral("Submitted"), QStringLiteral("Submitted To?"));
    auto* flags = new QVBoxLayout;
    flags->addWidget(frmSubmit);
    flags->addWidget(frmSubmitted);
    flags->addStretch(1);
    middle->addLayout(flags, 1, 2);

    txtAddress = makeScrolledTextArea(this, QStringLiteral("txtAddress"), 4);
    lblAddress = makeLabel(this, QStringLiteral("lblAddress"), QStringLiteral("Address :"), txtAddress);
    middle->addWidget(lblAddress, 0, 3);
    auto* addresses = new QGridLayout;
    addresses->addWidget(txtAddress, 0, 0, 1, 2);
    addresses->setRowStretch(0, 1);

    txtEmail = makeLineEdit(this, QStringLiteral("txtEmail"));
    drawAsLink(txtEmail, QStringLiteral("Double-click to write to this address"));
    lblEmail = makeLabel(this, QStringLiteral("lblEmail"), QStringLiteral("E-Mail :"), txtEmail);
    addresses->addWidget(lblEmail, 1, 0, Qt::AlignRight);
    addresses->addWidget(txtEmail, 1, 1);

    txtWeb = makeLineEdit(this, QStringLiteral("txtWeb"));
    drawAsLink(txtWeb, QStringLiteral("Double-click to open this address"));
    lblWeb = makeLabel(this, QStringLiteral("lblWeb"), QStringLiteral("Web :"), txtWeb);
    addresses->addWidget(lblWeb, 2, 0, Qt::AlignRight);
    addresses->addWidget(txtWeb, 2, 1);
    // Room for a usual address without scrolling.
    for (QLineEdit* address : {txtEmail, txtWeb})
        address->setMinimumWidth(24 * address->fontMetrics().averageCharWidth());
    middle->addLayout(addresses, 1, 3);

    middle->setColumnStretch(0, 3);
    middle->setColumnStretch(1, 3);
    middle->setColumnStretch(3, 4);
    middle->setRowStretch(1, 1);
    middle->setHorizontalSpacing(fontMetrics().height());
    fields->addLayout(middle, 7);
    fields->addSpacing(fontMetrics().height() / 2);

    // The two long texts across the whole width, the notes the larger.
    txtGuidelines = makeScrolledTextArea(this, QStringLiteral("txtGuidelines"), 4);
    lblGuidelines = makeLabel(this, QStringLiteral("lblGuidelines"), QStringLiteral("Guidelines :"), txtGuidelines);
    fields->addLayout(captionAbove(lblGuidelines, txtGuidelines), 4);

    txtComments = makeScrolledTextArea(this, QStringLiteral("txtComments"), 8);
    lblComments = makeLabel(this, QStringLiteral("lblComments"), QStringLiteral("Reviews and Notes :"), txtComments);
    fields->addLayout(captionAbove(lblComments, txtComments), 8);
    stretchByHeight(fields);
    setFieldsLayout(fields);

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
