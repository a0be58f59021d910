#include "gui/ImportMappingPage.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/Settings.h"

QString importMappingKey(ImportKind kind, const QStringList& header)
{
    QStringList folded;
    for (const QString& name : header)
        folded << name.simplified().toCaseFolded();
    const QByteArray hash = QCryptographicHash::hash(folded.join(QLatin1Char('\n')).toUtf8(),
                                                     QCryptographicHash::Sha1).toHex().left(16);
    return importKindName(kind) + QLatin1Char('-') + QString::fromLatin1(hash);
}

ImportMappingPage::ImportMappingPage(const Settings& settings, QWidget* parent)
    : QWizardPage(parent), mSettings(settings)
{
    setTitle(tr("What each column holds"));
    setSubTitle(tr("Each field can be taken by one column; the others are not imported."));
    auto* inner = new QWidget;
    mGrid = new QGridLayout(inner);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    mNote = new QLabel;
    mNote->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(mNote);
}

void ImportMappingPage::fill(ImportKind kind, const QStringList& header)
{
    mKind = kind;
    mHeader = header;
    qDeleteAll(mGrid->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    mFieldCombos.clear();
    QList<ImportField> columns = mapColumns(kind, header);
    // A header seen before is mapped as it was then.
    const QString remembered =
        mSettings.value(QString::fromLatin1(kImportMappingSection), importMappingKey(kind, header));
    const QList<ImportField> fields = importFields(kind);
    if (!remembered.isEmpty()) {
        const QStringList captions = remembered.split(QLatin1Char('|'));
        if (captions.size() == header.size()) {
            for (int c = 0; c < captions.size(); ++c) {
                columns[c] = ImportField::Ignored;
                for (const ImportField field : fields) {
                    if (importFieldCaption(field) == captions[c])
                        columns[c] = field;
                }
            }
        }
    }
    mGrid->addWidget(new QLabel(tr("<b>Column of the file</b>")), 0, 0);
    mGrid->addWidget(new QLabel(tr("<b>Imported as</b>")), 0, 1);
    for (int c = 0; c < header.size(); ++c) {
        auto* combo = new QComboBox;
        combo->setObjectName(QStringLiteral("field%1").arg(c));
        combo->addItem(importFieldCaption(ImportField::Ignored), int(ImportField::Ignored));
        for (const ImportField field : fields)
            combo->addItem(importFieldCaption(field) + (isRequiredField(kind, field) ? tr(" (required)") : QString()),
                           int(field));
        combo->setCurrentIndex(std::max(0, combo->findData(int(columns[c]))));
        connect(combo, &QComboBox::activated, this, [this, c] { onFieldChosen(c); });
        mGrid->addWidget(new QLabel(header[c].isEmpty() ? tr("(no name)") : header[c]), c + 1, 0);
        mGrid->addWidget(combo, c + 1, 1);
        mFieldCombos << combo;
    }
    mGrid->setRowStretch(static_cast<int>(header.size()) + 1, 1);
    onFieldChosen(-1);
}

void ImportMappingPage::onFieldChosen(int column)
{
    // A field is taken once: the column just set keeps it, any other gives it up.
    if (column >= 0) {
        const int field = mFieldCombos[column]->currentData().toInt();
        for (int c = 0; c < mFieldCombos.size(); ++c) {
            if (c != column && field != int(ImportField::Ignored) && mFieldCombos[c]->currentData().toInt() == field)
                mFieldCombos[c]->setCurrentIndex(0);
        }
    }
    const QString missing = missingFields();
    mNote->setText(missing.isEmpty() ? QString() : tr("Choose a column for: %1.").arg(missing));
    emit completeChanged();
}

QList<ImportField> ImportMappingPage::chosenColumns() const
{
    QList<ImportField> columns;
    for (const QComboBox* combo : mFieldCombos)
        columns << static_cast<ImportField>(combo->currentData().toInt());
    return columns;
}

QString ImportMappingPage::missingFields() const
{
    const QList<ImportField> columns = chosenColumns();
    QStringList missing;
    for (const ImportField field : importFields(mKind)) {
        if (isRequiredField(mKind, field) && !columns.contains(field))
            missing << importFieldCaption(field);
    }
    return missing.join(QStringLiteral(", "));
}

bool ImportMappingPage::isComplete() const
{
    return missingFields().isEmpty();
}

void ImportMappingPage::rememberMapping() const
{
    QStringList captions;
    for (const ImportField field : chosenColumns())
        captions << (field == ImportField::Ignored ? QString() : importFieldCaption(field));
    QString error;
    // Only a convenience: a settings file that cannot be written costs the next import a choice.
    mSettings.write({{QString::fromLatin1(kImportMappingSection), importMappingKey(mKind, mHeader),
                      captions.join(QLatin1Char('|'))}},
                    &error);
}
