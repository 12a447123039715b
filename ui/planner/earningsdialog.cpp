#include "ui/planner/earningsdialog.h"

#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/money.h"
#include "engine/moneytext.h"
#include "planner/programdata.h"
#include "scenario/scenarioinputs.h"

namespace velmora {

namespace {

// A record file is a few kilobytes; more is not one.
constexpr qint64 kMostRecordBytes = 1 << 20;

ScenarioInput MoneyInput(const char* widget) {
    ScenarioInput input{};
    input.kind = InputKind::Real;
    input.mask = "$#,###,###.##";
    input.low = 0;
    input.high = 9999999.99L;
    input.widget = widget;
    return input;
}

ScenarioInput AgeInput() {
    ScenarioInput input{};
    input.kind = InputKind::Integer;
    input.mask = "##";
    input.low = 22;
    input.high = 80;
    input.widget = "oUntilAge";
    return input;
}

ScenarioInput GrowthInput() {
    ScenarioInput input{};
    input.kind = InputKind::Real;
    input.mask = "###.####%";
    input.low = 0;
    input.high = 15;
    input.widget = "oWageGrowth";
    return input;
}

QString Money(std::int64_t cents) {
    return QString::fromStdString(MoneyText(static_cast<long double>(cents) / 100.0L, 2));
}

QString WholeDollars(std::int64_t dollars) {
    return QString::fromStdString(MoneyText(static_cast<long double>(dollars), 0));
}

QString FactorText(const planner::PiaYear& y) {
    if (y.factorDenominator == 0)
        return {};
    const std::int64_t scaled =
        planner::MulDivNearest(y.factorNumerator, 10000000, y.factorDenominator);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%lld.%07lld", static_cast<long long>(scaled / 10000000),
                  static_cast<long long>(scaled % 10000000));
    return QString::fromLatin1(buffer);
}

const char* const kColumns[] = {"Year",   "Source",  "Earnings", "Maximum", "Counted",
                                "Factor", "Indexed", "Highest",  "Credits"};

}  // namespace

EarningsDialog::EarningsDialog(const Setup& setup, EntrySettings& settings, QWidget* parent)
    : QDialog(parent), setup_(setup), record_(setup.record) {
    setObjectName(QStringLiteral("EarningsDialog"));
    setWindowTitle(QStringLiteral("Benefit at FRA from Earnings"));

    auto* recordLabel = new QLabel(QStringLiteral("Earnings &record (paste the statement's "
                                                  "earnings table, or year,earnings lines):"),
                                   this);
    txtRecord = new QPlainTextEdit(this);
    txtRecord->setObjectName(QStringLiteral("txtRecord"));
    txtRecord->setTabChangesFocus(true);
    txtRecord->setPlainText(QString::fromStdString(
        setup.record.years.empty() ? std::string() : planner::EarningsRecordCsv(setup.record)));
    recordLabel->setBuddy(txtRecord);
    btnOpen = new QPushButton(QStringLiteral("&Open..."), this);
    btnOpen->setObjectName(QStringLiteral("btnOpen"));
    btnOpen->setAutoDefault(false);

    chkFuture = new QCheckBox(QStringLiteral("&Keeps working: earns a year, in dollars of the "
                                             "as-of year"),
                              this);
    chkFuture->setObjectName(QStringLiteral("chkFuture"));
    oFutureEarnings = new TNumericEntryField(MoneyInput("oFutureEarnings"), settings, this);
    oFutureEarnings->setObjectName(QStringLiteral("oFutureEarnings"));
    oUntilAge = new TNumericEntryField(AgeInput(), settings, this);
    oUntilAge->setObjectName(QStringLiteral("oUntilAge"));
    oUntilAge->SetValueInteger(67);
    oWageGrowth = new TNumericEntryField(GrowthInput(), settings, this);
    oWageGrowth->setObjectName(QStringLiteral("oWageGrowth"));
    oWageGrowth->SetValueExtended(
        static_cast<long double>(planner::ProgramData::Shipped().DefaultWageGrowth()) / 10000.0L);
    for (TEntryField* field :
         {static_cast<TEntryField*>(oFutureEarnings), static_cast<TEntryField*>(oUntilAge),
          static_cast<TEntryField*>(oWageGrowth)}) {
        field->setMinimumSize(110, 20);
        field->installEventFilter(this);
    }

    auto* future = new QFormLayout;
    auto* amountLabel = new QLabel(QStringLiteral("&Future earnings:"), this);
    amountLabel->setBuddy(oFutureEarnings);
    auto* ageLabel = new QLabel(QStringLiteral("Until &age:"), this);
    ageLabel->setBuddy(oUntilAge);
    auto* growthLabel = new QLabel(QStringLiteral("&Wage growth:"), this);
    growthLabel->setBuddy(oWageGrowth);
    future->addRow(chkFuture);
    future->addRow(amountLabel, oFutureEarnings);
    future->addRow(ageLabel, oUntilAge);
    future->addRow(growthLabel, oWageGrowth);

    grdYears = new QTableWidget(0, static_cast<int>(std::size(kColumns)), this);
    grdYears->setObjectName(QStringLiteral("grdYears"));
    QStringList titles;
    for (const char* title : kColumns)
        titles << QString::fromLatin1(title);
    grdYears->setHorizontalHeaderLabels(titles);
    grdYears->verticalHeader()->setVisible(false);
    grdYears->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdYears->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdYears->setTabKeyNavigation(false);
    grdYears->setMinimumSize(640, 220);

    lblPia = new QLabel(this);
    lblPia->setObjectName(QStringLiteral("lblPia"));
    lblPia->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblNotes = new QLabel(this);
    lblNotes->setObjectName(QStringLiteral("lblNotes"));
    lblNotes->setWordWrap(true);
    lblNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnUse = new QPushButton(QStringLiteral("&Use"), this);
    btnUse->setObjectName(QStringLiteral("btnUse"));
    btnUse->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    auto* recordColumn = new QVBoxLayout;
    recordColumn->addWidget(recordLabel);
    recordColumn->addWidget(txtRecord);
    recordColumn->addWidget(btnOpen, 0, Qt::AlignLeft);
    top->addLayout(recordColumn, 1);
    top->addLayout(future);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnUse);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grdYears, 1);
    layout->addWidget(lblPia);
    layout->addWidget(lblNotes);
    layout->addLayout(buttons);

    // Names for assistive technology, as the pages' fields have.
    const std::pair<QWidget*, const char*> names[] = {
        {txtRecord, "Earnings Record"},
        {btnOpen, "Open Earnings Record"},
        {chkFuture, "Keeps Working"},
        {oFutureEarnings, "Future Earnings"},
        {oUntilAge, "Until Age"},
        {oWageGrowth, "Wage Growth"},
        {grdYears, "Earnings Years"},
        {lblPia, "Benefit at FRA"},
        {lblNotes, "Notes"},
    };
    for (const auto& [widget, name] : names)
        widget->setAccessibleName(QString::fromLatin1(name));
    setTabOrder(txtRecord, btnOpen);
    setTabOrder(btnOpen, chkFuture);
    setTabOrder(chkFuture, oFutureEarnings);
    setTabOrder(oFutureEarnings, oUntilAge);
    setTabOrder(oUntilAge, oWageGrowth);
    setTabOrder(oWageGrowth, grdYears);
    setTabOrder(grdYears, btnUse);
    setTabOrder(btnUse, btnCancel);

    connect(txtRecord, &QPlainTextEdit::textChanged, this, [this] { Recompute(); });
    connect(chkFuture, &QCheckBox::toggled, this, [this] { Recompute(); });
    connect(btnOpen, &QPushButton::clicked, this, [this] { ChooseFile(); });
    connect(btnUse, &QPushButton::clicked, this, [this] {
        if (PiaCents())
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    Recompute();
}

bool EarningsDialog::eventFilter(QObject* watched, QEvent* event) {
    // A field that is left has applied its rules; the figures follow once it is done.
    if (event->type() == QEvent::FocusOut &&
        (watched == oFutureEarnings || watched == oUntilAge || watched == oWageGrowth))
        QTimer::singleShot(0, this, [this] { Recompute(); });
    return QDialog::eventFilter(watched, event);
}

std::optional<std::int64_t> EarningsDialog::PiaCents() const {
    if (!pia_ || !pia_->Insured())
        return std::nullopt;
    return pia_->PiaAsOfCents();
}

void EarningsDialog::Recompute() {
    pia_.reset();
    QString failure;
    try {
        record_ = planner::ReadEarningsRecord(txtRecord->toPlainText().toStdString());
    } catch (const planner::EarningsError& e) {
        record_ = {};
        failure = QString::fromUtf8(e.what());
    }
    if (failure.isEmpty() && (!setup_.born || !setup_.asOf))
        failure = QStringLiteral("Type the date of birth and the as-of date on the page first.");
    if (failure.isEmpty() && record_.years.empty())
        failure = QStringLiteral("Paste or open the earnings record.");
    const bool keepsWorking = chkFuture->isChecked();
    oFutureEarnings->setEnabled(keepsWorking);
    oUntilAge->setEnabled(keepsWorking);
    if (failure.isEmpty()) {
        planner::PiaInputs in;
        in.born = *setup_.born;
        in.asOf = *setup_.asOf;
        in.record = record_;
        in.colaMillionths = static_cast<std::int64_t>(
            std::llround(static_cast<long double>(setup_.colaPercent) * 10000.0L));
        in.wageGrowthMillionths =
            static_cast<std::int64_t>(std::llround(oWageGrowth->ValueAsExtended() * 10000.0L));
        if (keepsWorking) {
            in.future = planner::FutureEarnings{
                MoneyFromReal(oFutureEarnings->ValueAsExtended()).count / 100,
                static_cast<int>(oUntilAge->ValueAsInteger())};
        }
        try {
            pia_.emplace(in);
        } catch (const planner::PiaError& e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    ShowYears();
    if (!pia_) {
        lblPia->setText(failure);
        lblNotes->clear();
    } else {
        const auto& p = *pia_;
        lblPia->setText(
            QStringLiteral("AIME %1, bend points %2 and %3 (%4); PIA at eligibility %5; in "
                           "dollars of %6: %7")
                .arg(WholeDollars(p.AimeDollars()), WholeDollars(p.FirstBendPointDollars()),
                     WholeDollars(p.SecondBendPointDollars()), QString::number(p.EligibilityYear()),
                     Money(p.PiaAtEligibilityCents()), QString::number(setup_.asOf->year),
                     p.Insured() ? Money(p.PiaAsOfCents()) : QStringLiteral("no benefit")));
        QStringList notes;
        for (const auto& note : p.Notes())
            notes << QString::fromStdString(note);
        lblNotes->setText(notes.join(QLatin1Char('\n')));
    }
    btnUse->setEnabled(PiaCents().has_value());
}

void EarningsDialog::ShowYears() {
    grdYears->setRowCount(0);
    if (!pia_)
        return;
    const auto& years = pia_->Years();
    grdYears->setRowCount(static_cast<int>(years.size()));
    for (std::size_t i = 0; i < years.size(); ++i) {
        const auto& y = years[i];
        const char* source = y.source == planner::EarningsSource::Record   ? "record"
                             : y.source == planner::EarningsSource::Future ? "future"
                                                                           : "none";
        const QString texts[] = {
            QString::number(y.year),
            QString::fromLatin1(source),
            Money(y.earningsCents),
            WholeDollars(y.taxableMaximumDollars) +
                (y.taxableMaximumProjected ? QStringLiteral("*") : QString()),
            Money(y.countedCents),
            FactorText(y) + (y.awiProjected ? QStringLiteral("*") : QString()),
            Money(y.indexedCents),
            y.amongHighest ? QStringLiteral("yes") : QString(),
            QString::number(y.credits) + (y.creditsEstimated ? QStringLiteral("e") : QString()),
        };
        for (int c = 0; c < static_cast<int>(std::size(texts)); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(c == 1 || c == 7 ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignRight | Qt::AlignVCenter);
            grdYears->setItem(static_cast<int>(i), c, item);
        }
    }
    grdYears->resizeColumnsToContents();
}

QString EarningsDialog::OpenRecordFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    const QByteArray bytes = file.read(kMostRecordBytes + 1);
    if (bytes.size() > kMostRecordBytes)
        return QStringLiteral("%1: longer than an earnings record can be").arg(path);
    txtRecord->setPlainText(QString::fromUtf8(bytes));
    return {};
}

void EarningsDialog::ChooseFile() {
    std::optional<QString> path;
    if (chooser_) {
        path = chooser_();
    } else {
        const QString chosen = QFileDialog::getOpenFileName(
            this, QStringLiteral("Open Earnings Record"), QString(),
            QStringLiteral("Earnings records (*.csv *.txt);;All files (*)"));
        if (!chosen.isEmpty())
            path = chosen;
    }
    if (!path)
        return;
    if (const QString failure = OpenRecordFile(*path); !failure.isEmpty())
        lblPia->setText(failure);
}

}  // namespace velmora
