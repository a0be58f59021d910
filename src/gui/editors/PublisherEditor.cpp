#include "gui/editors/PublisherEditor.h"

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
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>

#include "gui/StatusMessage.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "gui/editors/EditorWidgets.h"
#include "gui/Prompts.h"

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;
constexpr int kNotKnown = 2;

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

PublisherEditor::PublisherEditor(Session& session, Desktop desktop, QWidget* parent)
    : EditorWindow(session, desktop, QStringLiteral("Publisher"), parent)
{
    setObjectName(QStringLiteral("PublisherEditor"));
    auto* fields = new QVBoxLayout;

    // The name across the top.
    nameEdit = makeLineEdit(this, QStringLiteral("nameEdit"));
    nameLabel = makeLabel(this, QStringLiteral("nameLabel"), tr("Name :"), nameEdit);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(nameEdit, 1);
    fields->addLayout(nameRow);
    fields->addSpacing(fontMetrics().height() / 2);

    // Side by side: type, genres, the two flags, and the addresses.
    auto* middle = new QGridLayout;
    middle->setVerticalSpacing(2);
    typeList = makeScrolledList(this, QStringLiteral("typeList"), QAbstractItemView::SingleSelection);
    typeLabel = makeLabel(this, QStringLiteral("typeLabel"), tr("Type :"), typeList);
    middle->addWidget(typeLabel, 0, 0);
    middle->addWidget(typeList, 1, 0);

    genreList = makeScrolledList(this, QStringLiteral("genreList"), QAbstractItemView::ExtendedSelection);
    genreLabel = makeLabel(this, QStringLiteral("genreLabel"), tr("Genre(s) :"), genreList);
    middle->addWidget(genreLabel, 0, 1);
    middle->addWidget(genreList, 1, 1);

    submitGroup = makeYesNoGroup(this, &submitFrame, QStringLiteral("submit"), QStringLiteral("Submit To?"));
    submittedGroup = makeYesNoGroup(this, &submittedFrame, QStringLiteral("submitted"), QStringLiteral("Submitted To?"));
    auto* flags = new QVBoxLayout;
    flags->addWidget(submitFrame);
    flags->addWidget(submittedFrame);
    simultaneousGroup = makeOptionGroup(this, &simultaneousFrame, QStringLiteral("simultaneous"),
                                        tr("Takes simultaneous submissions"),
                                        {tr("Yes"), tr("No"), tr("Not known")});
    flags->addWidget(simultaneousFrame);
    flags->addStretch(1);
    middle->addLayout(flags, 1, 2);

    addressEdit = makeScrolledTextArea(this, QStringLiteral("addressEdit"), 4);
    addressLabel = makeLabel(this, QStringLiteral("addressLabel"), tr("Address :"), addressEdit);
    middle->addWidget(addressLabel, 0, 3);
    auto* addresses = new QGridLayout;
    addresses->addWidget(addressEdit, 0, 0, 1, 2);
    addresses->setRowStretch(0, 1);

    emailEdit = makeLineEdit(this, QStringLiteral("emailEdit"));
    drawAsLink(emailEdit, QStringLiteral("Double-click to write to this address"));
    emailLabel = makeLabel(this, QStringLiteral("emailLabel"), tr("E-Mail :"), emailEdit);
    addresses->addWidget(emailLabel, 1, 0, Qt::AlignRight);
    addresses->addWidget(emailEdit, 1, 1);

    webEdit = makeLineEdit(this, QStringLiteral("webEdit"));
    drawAsLink(webEdit, QStringLiteral("Double-click to open this address"));
    webLabel = makeLabel(this, QStringLiteral("webLabel"), tr("Web :"), webEdit);
    addresses->addWidget(webLabel, 2, 0, Qt::AlignRight);
    addresses->addWidget(webEdit, 2, 1);

    answerWithinEdit = makeLineEdit(this, QStringLiteral("answerWithinEdit"), 4);
    answerWithinEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")),
                                                                   answerWithinEdit));
    answerWithinEdit->setToolTip(tr("Days this publisher usually answers within; an unreturned submission sent "
                                    "longer ago is overdue. Empty: the Overdue-Days setting."));
    answerWithinLabel = makeLabel(this, QStringLiteral("answerWithinLabel"), tr("Answers within (days) :"),
                                  answerWithinEdit);
    addresses->addWidget(answerWithinLabel, 3, 0, Qt::AlignRight);
    addresses->addWidget(answerWithinEdit, 3, 1, Qt::AlignLeft);
    usualFeeEdit = makeLineEdit(this, QStringLiteral("usualFeeEdit"), 16);
    fitFieldTo(usualFeeEdit, QStringLiteral("0,000,000.000"));
    usualFeeEdit->setAlignment(Qt::AlignRight);
    usualFeeEdit->setToolTip(tr("The fee a submission here usually costs, in %1; a new submission starts with it.")
                                 .arg(session.settings().currency().code()));
    usualFeeLabel = makeLabel(this, QStringLiteral("usualFeeLabel"), tr("Usual fee :"), usualFeeEdit);
    addresses->addWidget(usualFeeLabel, 4, 0, Qt::AlignRight);
    addresses->addWidget(usualFeeEdit, 4, 1, Qt::AlignLeft);
    // Room for a usual address without scrolling.
    for (QLineEdit* address : {emailEdit, webEdit})
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
    guidelinesEdit = makeScrolledTextArea(this, QStringLiteral("guidelinesEdit"), 4);
    guidelinesLabel = makeLabel(this, QStringLiteral("guidelinesLabel"), tr("Guidelines :"), guidelinesEdit);
    fields->addLayout(captionAbove(guidelinesLabel, guidelinesEdit), 4);

    commentsEdit = makeScrolledTextArea(this, QStringLiteral("commentsEdit"), 8);
    commentsLabel = makeLabel(this, QStringLiteral("commentsLabel"), tr("Reviews and Notes :"), commentsEdit);
    fields->addLayout(captionAbove(commentsLabel, commentsEdit), 8);
    stretchByHeight(fields);
    setFieldsLayout(fields);

    addTextField(nameEdit, kName);
    addTextField(guidelinesEdit, kGuidelines);
    addTextField(commentsEdit, kComments);
    addTextField(addressEdit, kAddress);
    addTextField(emailEdit, kEmail);
    addTextField(webEdit, kWeb);
    addTextField(answerWithinEdit, kAnswerWithin);
    addTextField(usualFeeEdit, kUsualFee);
    // The lists and option buttons leave the hot-key target alone, so a hot key still
    // types into the text field used before; only Previous and Next clear it.
    watchForChanges(typeList);
    watchForChanges(genreList);
    watchForChanges(submitGroup);
    watchForChanges(submittedGroup);
    watchForChanges(simultaneousGroup);

    // Double clicks on the addresses open them.
    emailEdit->installEventFilter(this);
    webEdit->installEventFilter(this);

    finishSetup({nameEdit, typeList, genreList,
                 submitGroup->button(kYes), submitGroup->button(kNo),
                 submittedGroup->button(kYes), submittedGroup->button(kNo),
                 simultaneousGroup->button(kYes), simultaneousGroup->button(kNo), simultaneousGroup->button(kNotKnown),
                 addressEdit, emailEdit, webEdit, answerWithinEdit, usualFeeEdit, guidelinesEdit, commentsEdit});
}

QWidget* PublisherEditor::firstField() const
{
    return nameEdit;
}

// --- Loading ---

void PublisherEditor::loadDefaults()
{
    mStoredType = QVariant();
    mStoredGenres.clear();
    for (QLineEdit* line : {nameEdit, emailEdit, webEdit, answerWithinEdit, usualFeeEdit})
        line->clear();
    setOption(simultaneousGroup, kNotKnown);
    for (QPlainTextEdit* area : {addressEdit, guidelinesEdit, commentsEdit})
        area->clear();
    setOption(submitGroup, kYes);
    setOption(submittedGroup, kNo);
}

bool PublisherEditor::loadRecord(RecordStore& store, int id)
{
    const std::optional<PublisherRecord> record = store.publisher(id);
    if (!record)
        return false;
    mStoredType = record->typeId ? QVariant(*record->typeId) : QVariant();
    mStoredGenres = record->genreIds;
    nameEdit->setText(record->name);
    guidelinesEdit->setPlainText(record->guidelines);
    commentsEdit->setPlainText(record->comments);
    addressEdit->setPlainText(record->address);
    setOption(submitGroup, record->submitTo ? kYes : kNo);
    setOption(submittedGroup, record->submittedTo ? kYes : kNo);
    emailEdit->setText(record->email);
    webEdit->setText(record->web);
    answerWithinEdit->setText(record->answerWithinDays ? QString::number(*record->answerWithinDays) : QString());
    setOption(simultaneousGroup, !record->simultaneous ? kNotKnown : *record->simultaneous ? kYes : kNo);
    usualFeeEdit->setText(record->usualFee ? session().settings().currency().formatNumber(*record->usualFee)
                                           : QString());
    return true;
}

void PublisherEditor::fillLists(RecordStore& store)
{
    // A hidden list would otherwise bring its current entry into view when shown, undoing
    // the scroll position chosen below.
    const bool typeAutoScroll = typeList->hasAutoScroll();
    const bool genreAutoScroll = genreList->hasAutoScroll();
    typeList->setAutoScroll(false);
    genreList->setAutoScroll(false);
    typeList->clear();
    int firstSelected = -1;
    for (const ListItem& entry : store.publisherTypes()) {
        auto* item = new QListWidgetItem(entry.text, typeList);
        item->setData(Qt::UserRole, entry.id);
        if (!isNew() && mStoredType.isValid() && mStoredType.toLongLong() == entry.id && firstSelected < 0) {
            // The entry shown selected is the one the caret is on, and the one saved.
            typeList->setCurrentItem(item);
            firstSelected = typeList->row(item);
        }
    }
    if (isNew() && typeList->count() > 0)
        typeList->setCurrentRow(0);
    scrollList(typeList, firstSelected);

    genreList->clear();
    firstSelected = -1;
    for (const ListItem& entry : store.genres(RecordStore::GenreNames::Plural)) {
        auto* item = new QListWidgetItem(entry.text, genreList);
        item->setData(Qt::UserRole, entry.id);
        if (isNew() || !mStoredGenres.contains(entry.id))
            continue;
        item->setSelected(true);
        if (firstSelected < 0) {
            firstSelected = genreList->row(item);
            genreList->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        }
    }
    if (isNew() && genreList->count() > 0)
        genreList->setCurrentRow(0);
    scrollList(genreList, firstSelected);
    typeList->setAutoScroll(typeAutoScroll);
    genreList->setAutoScroll(genreAutoScroll);
}

int PublisherEditor::listTopIndex(int firstSelected, int count)
{
    if (firstSelected < 0)
        return -1;
    return std::max(0, std::min(firstSelected, count - 3));
}

void PublisherEditor::scrollList(QListWidget* list, int firstSelected)
{
    const int top = listTopIndex(firstSelected, list->count());
    if (top < 0)
        return;
    // The list lays its entries out later; the scroll range must be known now.
    list->doItemsLayout();
    list->verticalScrollBar()->setValue(top);
}

// --- Saving ---

bool PublisherEditor::storedTypeListed() const
{
    if (!mStoredType.isValid())
        return false;
    for (int i = 0; i < typeList->count(); ++i) {
        if (typeList->item(i)->data(Qt::UserRole).toLongLong() == mStoredType.toLongLong())
            return true;
    }
    return false;
}

QVariant PublisherEditor::typeToStore() const
{
    const QList<QListWidgetItem*> selected = typeList->selectedItems();
    if (!selected.isEmpty())
        return selected.first()->data(Qt::UserRole);
    // A type that is no longer listed stays as it is until the user chooses another.
    if (!isNew() && !storedTypeListed())
        return mStoredType;
    return QVariant();
}

EditorWindow::SaveResult PublisherEditor::beforeSave()
{
    const bool keepsUnlistedType = !isNew() && typeList->selectedItems().isEmpty() && !storedTypeListed();
    if (typeList->selectedItems().isEmpty() && !keepsUnlistedType)
        return refuse(tr("Choose a type for this Publisher before saving."));
    bool isNumber = false;
    answerWithinEdit->text().toInt(&isNumber);
    if (!answerWithinEdit->text().isEmpty() && !isNumber)
        return refuse(tr("\"Answers within\" takes a number of days, or nothing."));
    const Currency::Parsed fee = session().settings().currency().parse(usualFeeEdit->text());
    if (!fee.ok()) {
        usualFeeEdit->setFocus(Qt::OtherFocusReason);
        return refuse(tr("The usual fee cannot be saved: %1").arg(fee.error));
    }
    mUsualFee = fee.minor;
    return askAboutSameName(View::Publisher, nameEdit->text());
}

int PublisherEditor::writeRecord(RecordStore& store, int id)
{
    auto yes = [](const QButtonGroup* group) { return optionIndex(group) == kYes; };
    PublisherRecord publisher;
    publisher.id = id;
    publisher.name = nameEdit->text();
    const QVariant type = typeToStore();
    if (type.isValid())
        publisher.typeId = type.toInt();
    publisher.guidelines = guidelinesEdit->toPlainText();
    publisher.comments = commentsEdit->toPlainText();
    publisher.address = addressEdit->toPlainText();
    publisher.submitTo = yes(submitGroup);
    publisher.submittedTo = yes(submittedGroup);
    publisher.email = emailEdit->text();
    publisher.web = webEdit->text();
    if (!answerWithinEdit->text().isEmpty())
        publisher.answerWithinDays = answerWithinEdit->text().toInt();
    const int simultaneous = optionIndex(simultaneousGroup);
    if (simultaneous == kYes || simultaneous == kNo)
        publisher.simultaneous = simultaneous == kYes;
    publisher.usualFee = mUsualFee;
    for (int i = 0; i < genreList->count(); ++i) {
        QListWidgetItem* item = genreList->item(i);
        if (item->isSelected())
            publisher.genreIds.append(item->data(Qt::UserRole).toInt());
    }
    return store.savePublisher(publisher);
}

// --- Links ---

QString PublisherEditor::emailLink(const QString& text)
{
    if (!text.contains(QLatin1Char('@')))
        return QString();
    return kEmailPrefix + text;
}

QString PublisherEditor::webLink(const QString& text)
{
    // An address that names its own scheme (https://, HTTP://) opens as it is; putting
    // http:// in front of it would make a link that leads nowhere. An empty field opens nothing.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QString address = text.trimmed();
    if (address.isEmpty())
        return QString();
    if (scheme.match(address).hasMatch())
        return address;
    return kWebPrefix + address;
}

void PublisherEditor::openEmailLink()
{
    const QString address = emailLink(emailEdit->text());
    if (!address.isEmpty())
        desktop().links.open(address);
}

void PublisherEditor::openWebLink()
{
    const QString address = webLink(webEdit->text());
    if (!address.isEmpty())
        desktop().links.open(address);
}

bool PublisherEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == emailEdit)
            openEmailLink();
        else if (watched == webEdit)
            openWebLink();
    }
    return EditorWindow::eventFilter(watched, event);
}
