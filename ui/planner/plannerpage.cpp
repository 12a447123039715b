#include "ui/planner/plannerpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "engine/money.h"
#include "engine/moneytext.h"
#include "fields/dateentryfield.h"
#include "fields/entrysettings.h"
#include "fields/numericentryfield.h"
#include "planner/mortality.h"
#include "report/summary/chartlibrary.h"
#include "scenario/scenarioinputs.h"
#include "ui/glyphs.h"

namespace velmora {

const std::vector<HealthChoice> kHealthChoices = {
    {"Excellent", 0.5L}, {"Good", 0.75L}, {"Average", 1}, {"Below average", 1.5L}, {"Poor", 2.5L},
};

namespace {

const QColor kPanelColour(217, 232, 240);
const QColor kBestFill(255, 236, 160);

constexpr int kLowYear = 1900;
constexpr int kHighYear = 2100;
constexpr long double kHighBenefit = 99999.99L;
// The grid's refresh waits this long after a keystroke, so that typing runs on.
constexpr int kRefreshDelayMs = 40;
constexpr int kChartDelayMs = 20;

std::optional<planner::Date> ToDate(const std::optional<FieldDate>& d) {
    if (!d)
        return std::nullopt;
    return planner::Date{d->year, d->month, d->day};
}

FieldDate ToFieldDate(const planner::Date& d) {
    return FieldDate{d.year, d.month, d.day};
}

QString PercentText(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4Lf %%", value);
    return QString::fromLatin1(buffer);
}

QString FactorText(long double factor) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "factor %.2Lf", factor);
    return QString::fromLatin1(buffer);
}

// The number a field holds as typed, without leaving it (so no rule runs and no message).
std::optional<long double> NumberNow(const TNumericEntryField* field) {
    const NumberRead read = field->Model().Read();
    if (!read.isNumber || read.value < field->Model().Low() || read.value > field->Model().High())
        return std::nullopt;
    return read.value;
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    return label;
}

// Green for the best pair, through yellow, to a light red for the least of the grid.
QColor CellColour(long double share) {
    const double t = std::clamp(static_cast<double>(share), 0.0, 1.0);
    const QColor best(120, 200, 120);
    const QColor middle(250, 230, 130);
    const QColor worst(240, 150, 140);
    const auto mix = [](const QColor& a, const QColor& b, double f) {
        const auto part = [f](int from, int to) {
            return static_cast<int>(std::lround(from + (to - from) * f));
        };
        return QColor(part(a.red(), b.red()), part(a.green(), b.green()), part(a.blue(), b.blue()));
    };
    return t < 0.5 ? mix(best, middle, t * 2) : mix(middle, worst, (t - 0.5) * 2);
}

QString Money(long double amount) {
    return QString::fromStdString(MoneyText(amount, 0));
}

}  // namespace

PlannerPage::PlannerPage(EntrySettings& settings, QWidget* parent)
    : BevelPanel(kPanelColour, parent), settings_(settings) {
    setObjectName(QStringLiteral("plannerPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kInset + 4, kInset + 2, kInset + 4, kInset + 2);
    layout->setSpacing(3);

    auto* inputs = new QHBoxLayout();
    inputs->setSpacing(6);
    BuildPerson(client, false, this);
    BuildPerson(spouse, true, this);
    inputs->addWidget(client.group);
    inputs->addWidget(spouse.group);

    auto* common = new QGroupBox(QStringLiteral("Plan"), this);
    common->setObjectName(QStringLiteral("planGroup"));
    auto* commonGrid = new QGridLayout(common);
    commonGrid->setContentsMargins(6, 2, 6, 2);
    commonGrid->setVerticalSpacing(2);
    lifeTable = new QComboBox(common);
    lifeTable->setObjectName(QStringLiteral("lifeTable"));
    lifeTable->addItems({QStringLiteral("Cohort (by year of birth)"),
                         QStringLiteral("Period (one table for all)")});
    asOfDate = new TDateEntryField(kLowYear, kHighYear, settings_, common);
    asOfDate->setObjectName(QStringLiteral("asOfDate"));
    asOfDate->setMinimumWidth(80);
    commonGrid->addWidget(Caption("Mo&rtality", lifeTable, common), 0, 0);
    commonGrid->addWidget(lifeTable, 0, 1);
    commonGrid->addWidget(Caption("As-of &date", asOfDate, common), 1, 0);
    commonGrid->addWidget(asOfDate, 1, 1);
    ratesLine = new QLabel(common);
    ratesLine->setObjectName(QStringLiteral("ratesLine"));
    ratesLine->setWordWrap(true);
    commonGrid->addWidget(ratesLine, 2, 0, 1, 2);
    commonGrid->setRowStretch(3, 1);
    inputs->addWidget(common);
    layout->addLayout(inputs);

    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    // The whole sentence, on as many lines as it needs, whatever the window's width.
    message->setWordWrap(true);
    QPalette red = message->palette();
    red.setColor(QPalette::WindowText, QColor(176, 0, 0));
    message->setPalette(red);
    message->hide();
    layout->addWidget(message);

    BuildResults(layout);

    auto* buttons = new QHBoxLayout();
    struct ButtonLayout {
        QPushButton** button;
        const char* name;
        const char* caption;
    };
    const ButtonLayout list[] = {
        {&useEarly, "useEarly", "Use as &Early"},
        {&useLater, "useLater", "&Use as Later"},
        {&printSummary, "printSummary", "Print Summar&y"},
    };
    for (const ButtonLayout& entry : list) {
        auto* button = new QPushButton(QString::fromLatin1(entry.caption), this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setAutoDefault(true);
        // The window runs the keys, so that the field being left applies its rules first.
        button->setShortcut(QKeySequence());
        buttons->addWidget(button);
        *entry.button = button;
    }
    printSummary->setIcon(GlyphIcon(QStringLiteral("print"), 16));
    buttons->addStretch(1);
    layout->addLayout(buttons);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshDelayMs);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { Refresh(); });
    Wire();
    SetTabOrder();
    UpdateEnabled();
}

PlannerPage::~PlannerPage() = default;

void PlannerPage::BuildPerson(PersonControls& person, bool isSpouse, QWidget* parent) {
    const QString prefix = isSpouse ? QStringLiteral("spouse") : QStringLiteral("client");
    person.group =
        new QGroupBox(isSpouse ? QStringLiteral("Spouse") : QStringLiteral("Client"), parent);
    person.group->setObjectName(prefix + QStringLiteral("Group"));
    auto* grid = new QGridLayout(person.group);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(4);
    QWidget* box = person.group;
    int row = 0;
    if (isSpouse) {
        person.married = new QCheckBox(QStringLiteral("&Married"), box);
        person.married->setObjectName(QStringLiteral("married"));
        grid->addWidget(person.married, row++, 0, 1, 4);
    }
    person.born = new TDateEntryField(kLowYear, kHighYear, settings_, box);
    person.born->setObjectName(prefix + QStringLiteral("Born"));
    person.born->setMinimumWidth(80);
    person.sex = new QComboBox(box);
    person.sex->setObjectName(prefix + QStringLiteral("Sex"));
    person.sex->addItems({QStringLiteral("Female"), QStringLiteral("Male")});
    // The same keys in both groups: Alt+B goes to the client's, again to the spouse's.
    grid->addWidget(Caption("Date of &birth", person.born, box), row, 0);
    grid->addWidget(person.born, row, 1);
    grid->addWidget(Caption("&Sex", person.sex, box), row, 2);
    grid->addWidget(person.sex, row++, 3);

    ScenarioInput benefit = InputOf(&TScenarioRec::LaterBenefit);
    benefit.high = kHighBenefit;
    benefit.widget = isSpouse ? "spouseBenefit" : "clientBenefit";
    person.benefit = new TNumericEntryField(benefit, settings_, box);
    person.benefit->setObjectName(prefix + QStringLiteral("Benefit"));
    grid->addWidget(Caption("FRA be&nefit", person.benefit, box), row, 0);
    grid->addWidget(person.benefit, row, 1, 1, 2);
    person.fromEarnings = new QPushButton(
        QString::fromUtf8(isSpouse ? "Fr&om earnings\u2026" : "From earn&ings\u2026"), box);
    person.fromEarnings->setObjectName(prefix + QStringLiteral("FromEarnings"));
    person.fromEarnings->setAutoDefault(true);
    // The window runs the keys, so that the field being left applies its rules first.
    person.fromEarnings->setShortcut(QKeySequence());
    // Its caption whole; the benefit field beside it gives up the room.
    person.fromEarnings->setMinimumWidth(person.fromEarnings->sizeHint().width());
    grid->addWidget(person.fromEarnings, row++, 3);

    person.claimed = new QCheckBox(QStringLiteral("Already re&ceiving since"), box);
    person.claimed->setObjectName(prefix + QStringLiteral("Claimed"));
    ScenarioInput month = InputOf(&TScenarioRec::EarlyMonth);
    month.widget = isSpouse ? "spouseClaimedMonth" : "clientClaimedMonth";
    person.claimedMonth = new TNumericEntryField(month, settings_, box);
    person.claimedMonth->setObjectName(prefix + QStringLiteral("ClaimedMonth"));
    person.claimedMonth->setMaximumWidth(32);
    ScenarioInput year = InputOf(&TScenarioRec::EarlyYear);
    year.low = kLowYear;
    year.newValue = 0;
    year.widget = isSpouse ? "spouseClaimedYear" : "clientClaimedYear";
    person.claimedYear = new TNumericEntryField(year, settings_, box);
    person.claimedYear->setObjectName(prefix + QStringLiteral("ClaimedYear"));
    person.claimedYear->setMaximumWidth(48);
    grid->addWidget(person.claimed, row, 0, 1, 2);
    grid->addWidget(person.claimedMonth, row, 2);
    grid->addWidget(person.claimedYear, row++, 3);

    person.health = new QComboBox(box);
    person.health->setObjectName(prefix + QStringLiteral("Health"));
    for (const HealthChoice& choice : kHealthChoices)
        person.health->addItem(QString::fromLatin1(choice.text),
                               QVariant::fromValue(static_cast<double>(choice.factor)));
    person.health->setCurrentIndex(2);
    person.factor = new QLabel(FactorText(1), box);
    person.factor->setObjectName(prefix + QStringLiteral("Factor"));
    grid->addWidget(Caption("Heal&th", person.health, box), row, 0);
    grid->addWidget(person.health, row, 1, 1, 2);
    grid->addWidget(person.factor, row++, 3);

    const std::pair<QWidget*, QString> names[] = {
        {person.born, QStringLiteral("date of birth")},
        {person.sex, QStringLiteral("sex")},
        {person.benefit, QStringLiteral("benefit at full retirement age")},
        {person.fromEarnings, QStringLiteral("benefit at full retirement age from earnings")},
        {person.claimed, QStringLiteral("already receiving benefits")},
        {person.claimedMonth, QStringLiteral("month benefits started")},
        {person.claimedYear, QStringLiteral("year benefits started")},
        {person.health, QStringLiteral("health")},
    };
    const QString owner = isSpouse ? QStringLiteral("Spouse's ") : QStringLiteral("Client's ");
    for (const auto& [widget, name] : names)
        widget->setAccessibleName(owner + name);
}

void PlannerPage::BuildResults(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout();
    row->setSpacing(6);
    resultArea_ = new QStackedWidget(this);
    options = new QTableWidget(0, static_cast<int>(planner::kPlanColumns), resultArea_);
    options->setObjectName(QStringLiteral("options"));
    QStringList titles;
    for (const char* title : planner::kPlanColumnTitles) {
        QString text = QString::fromLatin1(title);
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        if (blank > 0)
            text[blank] = QLatin1Char('\n');
        titles << text;
    }
    options->setHorizontalHeaderLabels(titles);
    options->verticalHeader()->hide();
    options->verticalHeader()->setDefaultSectionSize(18);
    options->setSelectionBehavior(QAbstractItemView::SelectRows);
    options->setSelectionMode(QAbstractItemView::SingleSelection);
    options->setEditTriggers(QAbstractItemView::NoEditTriggers);
    options->setTabKeyNavigation(false);
    options->setWordWrap(false);
    options->setAccessibleName(QStringLiteral("Claiming options"));

    pairs = new QTableWidget(kGridAges, kGridAges, resultArea_);
    pairs->setObjectName(QStringLiteral("pairs"));
    QStringList ages;
    for (int a = 0; a < kGridAges; ++a)
        ages << QString::number(kGridFirstAge + a);
    pairs->setHorizontalHeaderLabels(ages);
    pairs->setVerticalHeaderLabels(ages);
    pairs->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    pairs->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    pairs->horizontalHeader()->setMinimumSectionSize(20);
    pairs->verticalHeader()->setMinimumSectionSize(12);
    pairs->setSelectionMode(QAbstractItemView::SingleSelection);
    pairs->setSelectionBehavior(QAbstractItemView::SelectItems);
    pairs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The arrow keys move between cells; Tab moves on.
    pairs->setTabKeyNavigation(false);
    pairs->setAccessibleName(
        QStringLiteral("Claiming pairs: client's age in rows, spouse's in "
                       "columns"));
    pairs->setToolTip(QString());
    resultArea_->addWidget(options);
    resultArea_->addWidget(pairs);

    auto* left = new QVBoxLayout();
    left->setSpacing(2);
    resultCaption_ = new QLabel(QStringLiteral("Claimin&g choices"), this);
    resultCaption_->setObjectName(QStringLiteral("resultCaption"));
    resultCaption_->setBuddy(options);
    QLabel* caption = resultCaption_;
    left->addWidget(caption);
    left->addWidget(resultArea_, 1);
    row->addLayout(left, 5);

    chartHolder_ = new QWidget(this);
    chartHolder_->setObjectName(QStringLiteral("chartHolder"));
    auto* holder = new QVBoxLayout(chartHolder_);
    holder->setContentsMargins(0, 0, 0, 0);
    row->addWidget(chartHolder_, 4);
    layout->addLayout(row, 1);

    bestPair = new QLabel(this);
    bestPair->setObjectName(QStringLiteral("bestPair"));
    bestPair->setWordWrap(true);
    bestPair->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(bestPair);
}

void PlannerPage::Wire() {
    for (PersonControls* person : {&client, &spouse}) {
        for (TEntryField* field :
             {static_cast<TEntryField*>(person->born), static_cast<TEntryField*>(person->benefit),
              static_cast<TEntryField*>(person->claimedMonth),
              static_cast<TEntryField*>(person->claimedYear)})
            field->installEventFilter(this);
        connect(person->sex, &QComboBox::currentIndexChanged, this, [this] { QueueRefresh(); });
        connect(person->claimed, &QCheckBox::toggled, this, [this] {
            UpdateEnabled();
            QueueRefresh();
        });
        connect(person->health, &QComboBox::currentIndexChanged, this, [this, person] {
            person->factor->setText(
                FactorText(static_cast<long double>(person->health->currentData().toDouble())));
            QueueRefresh();
        });
    }
    connect(spouse.married, &QCheckBox::toggled, this, [this] {
        UpdateEnabled();
        QueueRefresh();
    });
    connect(lifeTable, &QComboBox::currentIndexChanged, this, [this] { QueueRefresh(); });
    asOfDate->installEventFilter(this);
    connect(options, &QTableWidget::currentCellChanged, this, [this] { RefreshChart(); });
    connect(pairs, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column >= 0 && result_ && result_->couple) {
            const PairCell& cell =
                result_->cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            if (cell.possible)
                chosenCell_ = std::pair{row, column};
        }
        ShowBestPair();
        RefreshChart();
    });
}

void PlannerPage::SetTabOrder(QWidget* after) {
    QWidget* const order[] = {
        client.born,
        client.sex,
        client.benefit,
        client.fromEarnings,
        client.claimed,
        client.claimedMonth,
        client.claimedYear,
        client.health,
        spouse.married,
        spouse.born,
        spouse.sex,
        spouse.benefit,
        spouse.fromEarnings,
        spouse.claimed,
        spouse.claimedMonth,
        spouse.claimedYear,
        spouse.health,
        lifeTable,
        asOfDate,
        options,
        pairs,
        useEarly,
        useLater,
        printSummary,
    };
    if (after != nullptr)
        setTabOrder(after, order[0]);
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void PlannerPage::UpdateEnabled() {
    const bool married = spouse.married->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(spouse.born), static_cast<QWidget*>(spouse.sex),
          static_cast<QWidget*>(spouse.benefit), static_cast<QWidget*>(spouse.fromEarnings),
          static_cast<QWidget*>(spouse.claimed), static_cast<QWidget*>(spouse.health),
          static_cast<QWidget*>(spouse.factor)})
        w->setEnabled(married);
    for (PersonControls* person : {&client, &spouse}) {
        const bool on = person->claimed->isChecked() && (person == &client || married);
        person->claimedMonth->setEnabled(on);
        person->claimedYear->setEnabled(on);
    }
    const bool couple = result_ && result_->couple;
    const bool single = result_ && result_->plan;
    useEarly->setEnabled(single);
    useLater->setEnabled(single);
    printSummary->setEnabled(couple || single);
}

bool PlannerPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::FocusOut)
        QueueRefresh();
    return BevelPanel::eventFilter(watched, event);
}

void PlannerPage::QueueRefresh() {
    refreshTimer_->start();
}

bool PlannerPage::RefreshPending() const {
    return refreshTimer_->isActive();
}

void PlannerPage::FlushRefresh() {
    if (RefreshPending())
        Refresh();
    FlushChart();
}

void PlannerPage::FlushChart() {
    if (chartPending_)
        RefreshChart();
}

void PlannerPage::SetRates(long double cola, long double rate) {
    cola_ = cola;
    rate_ = rate;
    ratesLine->setText(QStringLiteral("COLA %1 and discount rate %2, from Data Input")
                           .arg(PercentText(cola), PercentText(rate)));
}

void PlannerPage::PageShown() {
    if (chart_ == nullptr && chartFailure_ == nullptr) {
        try {
            chart_ = Charts().makeView(chartHolder_, font());
            chartHolder_->layout()->addWidget(chart_);
            chart_->show();
        } catch (const std::exception& error) {
            // The rest of the page works without the chart; the reason stands in its place.
            chartFailure_ = new QLabel(QString::fromStdString(error.what()), chartHolder_);
            chartFailure_->setObjectName(QStringLiteral("chartFailure"));
            chartFailure_->setWordWrap(true);
            chartFailure_->setAlignment(Qt::AlignCenter);
            chartHolder_->layout()->addWidget(chartFailure_);
            chartFailure_->show();
        }
    }
    if (!asOfSet_) {
        const QDate today = QDate::currentDate();
        asOfDate->SetDate(FieldDate{today.year(), today.month(), today.day()});
        asOfSet_ = true;
    }
    Refresh();
}

std::optional<planner::PersonInputs> PlannerPage::PersonNow(const PersonControls& p) const {
    const auto born = ToDate(p.born->Date());
    if (!born)
        return std::nullopt;
    planner::PersonInputs person;
    person.born = *born;
    person.sex = p.sex->currentIndex() == 1 ? planner::Sex::Male : planner::Sex::Female;
    person.piaCents = MoneyFromReal(NumberNow(p.benefit).value_or(0)).count / 100;
    if (p.claimed->isChecked()) {
        const auto month = NumberNow(p.claimedMonth);
        const auto year = NumberNow(p.claimedYear);
        if (month && year)
            person.claimed = planner::Month::Of(static_cast<int>(*year), static_cast<int>(*month));
    }
    person.mortalityFactor = static_cast<long double>(p.health->currentData().toDouble());
    person.earnings = p.earnings;
    return person;
}

std::optional<planner::HouseholdInputs> PlannerPage::Inputs() const {
    const auto person = PersonNow(client);
    const auto asOf = ToDate(asOfDate->Date());
    if (!person || !asOf)
        return std::nullopt;
    planner::HouseholdInputs in;
    in.client = *person;
    if (spouse.married->isChecked())
        in.spouse = PersonNow(spouse);
    in.asOf = *asOf;
    in.cola = static_cast<double>(cola_);
    in.rate = rate_;
    in.mortality = lifeTable->currentIndex() == 1 ? planner::MortalityKind::Period
                                                  : planner::MortalityKind::Cohort;
    return in;
}

void PlannerPage::SetHealth(PersonControls& person, long double factor) {
    const QSignalBlocker quiet(person.health);
    int index = -1;
    for (int i = 0; i < person.health->count(); ++i) {
        if (std::fabs(person.health->itemData(i).toDouble() - static_cast<double>(factor)) < 1e-9)
            index = i;
    }
    if (index < 0) {
        // A factor of a file or of the command line keeps its value as a choice of its own.
        person.health->addItem(QStringLiteral("Other"),
                               QVariant::fromValue(static_cast<double>(factor)));
        index = person.health->count() - 1;
    }
    person.health->setCurrentIndex(index);
    person.factor->setText(FactorText(factor));
}

void PlannerPage::ShowPerson(PersonControls& p, const planner::PersonInputs* person) {
    const QSignalBlocker quietSex(p.sex);
    const QSignalBlocker quietClaimed(p.claimed);
    p.born->SetDate(person ? std::optional(ToFieldDate(person->born)) : std::nullopt);
    p.sex->setCurrentIndex(person && person->sex == planner::Sex::Male ? 1 : 0);
    p.benefit->SetValueExtended(person ? static_cast<long double>(person->piaCents) / 100 : 0);
    const bool claimed = person && person->claimed;
    p.claimed->setChecked(claimed);
    p.claimedMonth->SetValueInteger(claimed ? person->claimed->MonthOfYear() : 1);
    p.claimedYear->SetValueInteger(claimed ? person->claimed->Year() : 0);
    SetHealth(p, person ? person->mortalityFactor : 1);
    p.earnings = person ? person->earnings : planner::EarningsRecord{};
}

void PlannerPage::UseEarnings(bool forSpouse, std::int64_t piaCents,
                              const planner::EarningsRecord& record) {
    PersonControls& p = forSpouse ? spouse : client;
    p.benefit->SetValueExtended(static_cast<long double>(piaCents) / 100);
    p.earnings = record;
    Refresh();
}

void PlannerPage::ShowInputs(const std::optional<planner::HouseholdInputs>& inputs) {
    {
        const QSignalBlocker quietMarried(spouse.married);
        const QSignalBlocker quietTable(lifeTable);
        ShowPerson(client, inputs ? &inputs->client : nullptr);
        ShowPerson(spouse, inputs && inputs->spouse ? &*inputs->spouse : nullptr);
        spouse.married->setChecked(inputs && inputs->spouse);
        lifeTable->setCurrentIndex(inputs && inputs->mortality == planner::MortalityKind::Period);
        asOfDate->SetDate(inputs ? std::optional(ToFieldDate(inputs->asOf)) : std::nullopt);
        asOfSet_ = inputs.has_value();
    }
    chosenCell_.reset();
    if (!inputs && isVisible())
        PageShown();
    else
        Refresh();
}

void PlannerPage::Refresh() {
    refreshTimer_->stop();
    // The row chosen before is chosen again when its month is still an option.
    std::optional<planner::Month> chosen;
    if (result_ && result_->plan && options->currentRow() >= 0 &&
        static_cast<std::size_t>(options->currentRow()) < result_->rows.size())
        chosen =
            result_->plan->options[result_->rows[static_cast<std::size_t>(options->currentRow())]]
                .claim;
    const auto previousCell = chosenCell_;

    result_.reset();
    QString text;
    if (const auto in = Inputs()) {
        try {
            if (spouse.married->isChecked() && !in->spouse)
                throw planner::PlanError("Type the spouse's date of birth.");
            PlannerResult r;
            r.inputs = *in;
            if (in->spouse) {
                planner::CheckHousehold(*in);
                const planner::HouseholdModel model(*in);
                r.couple = model.SearchCouple();
                r.cells = PairCells(*r.couple, *in);
            } else {
                if (in->client.claimed)
                    throw planner::PlanError(
                        "The client already receives benefits: there is no month to choose.");
                planner::PlanInputs p;
                p.born = in->client.born;
                p.sex = in->client.sex;
                p.fraBenefit = static_cast<long double>(in->client.piaCents) / 100;
                p.asOf = in->asOf;
                p.cola = in->cola;
                p.rate = in->rate;
                p.mortality = in->mortality;
                p.mortalityFactor = in->client.mortalityFactor;
                r.plan = planner::BuildPlan(p);
                r.rows = planner::SummaryOptions(*r.plan);
            }
            result_ = std::move(r);
        } catch (const std::exception& e) {
            SetArithmeticContext();
            text = QString::fromUtf8(e.what());
        }
    } else if (client.born->Date() || !client.born->Model().Digits().empty()) {
        text = QStringLiteral("Type the as-of date.");
    }
    message->setText(text);
    message->setVisible(!text.isEmpty());

    if (result_ && result_->couple) {
        resultArea_->setCurrentWidget(pairs);
        resultCaption_->setBuddy(pairs);
        chosenCell_ = previousCell;
        ShowPairs();
    } else {
        resultArea_->setCurrentWidget(options);
        resultCaption_->setBuddy(options);
        chosenCell_.reset();
        ShowOptions();
        if (chosen && result_) {
            for (std::size_t r = 0; r < result_->rows.size(); ++r) {
                if (result_->plan->options[result_->rows[r]].claim == *chosen)
                    SelectPlanRow(static_cast<int>(r));
            }
        }
    }
    ShowBestPair();
    UpdateEnabled();
    // The chart values every month of death again, which takes longer than the search: it
    // follows a little later, so that the grid and the words are painted first (a window
    // paints on its next update request, a few milliseconds on).
    chartPending_ = true;
    QTimer::singleShot(kChartDelayMs, this, [this] { FlushChart(); });
}

void PlannerPage::ShowOptions() {
    const QSignalBlocker quiet(options);
    options->clearContents();
    const bool shown = result_ && result_->plan;
    options->setRowCount(shown ? static_cast<int>(result_->rows.size()) : 0);
    if (!shown)
        return;
    const planner::Plan& plan = *result_->plan;
    for (std::size_t r = 0; r < result_->rows.size(); ++r) {
        const std::size_t index = result_->rows[r];
        const std::vector<std::string> texts = planner::PlanRowTexts(plan, index);
        const bool best = index == plan.best;
        for (std::size_t c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(texts[c]));
            item->setTextAlignment((c < 2                       ? Qt::AlignLeft
                                    : c == planner::kBestColumn ? Qt::AlignHCenter
                                                                : Qt::AlignRight) |
                                   Qt::AlignVCenter);
            if (best) {
                QFont bold = options->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(kBestFill);
            }
            options->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    options->resizeColumnsToContents();
}

void PlannerPage::ShowPairs() {
    const QSignalBlocker quiet(pairs);
    pairs->clearContents();
    const planner::CoupleSearch& search = *result_->couple;
    const planner::HouseholdInputs& in = result_->inputs;
    long double worst = search.best.value;
    for (const auto& row : result_->cells)
        for (const PairCell& cell : row)
            if (cell.possible)
                worst = std::min(worst, cell.value);
    const long double spread = search.best.value - worst;
    for (int r = 0; r < kGridAges; ++r) {
        for (int c = 0; c < kGridAges; ++c) {
            const PairCell& cell =
                result_->cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem();
            const QString where = QStringLiteral("Client %1, spouse %2")
                                      .arg(kGridFirstAge + r)
                                      .arg(kGridFirstAge + c);
            if (!cell.possible) {
                item->setText(QStringLiteral("-"));
                item->setFlags(Qt::ItemIsEnabled);
                item->setData(Qt::AccessibleTextRole, where + QStringLiteral(": not possible"));
            } else {
                const long double difference = cell.value - search.best.value;
                const bool best = cell.client == search.best.client && search.best.spouse &&
                                  cell.spouse == *search.best.spouse;
                // The share of the best pair's value lost, short enough for a small cell;
                // the tip gives the amounts.
                const long double share =
                    search.best.value != 0 ? 100 * difference / search.best.value : 0;
                item->setText(best ? QStringLiteral("best")
                                   : QString::asprintf("%.1f %%", static_cast<double>(share)));
                item->setBackground(CellColour(spread > 0 ? -difference / spread : 0));
                item->setTextAlignment(Qt::AlignCenter);
                const QString detail =
                    QString::fromStdString(PairWords(in, cell.client, cell.spouse)) +
                    QStringLiteral("\nExpected value %1").arg(Money(cell.value)) +
                    (best ? QStringLiteral(", the best pair")
                          : QStringLiteral(", %1 against the best").arg(Money(difference)));
                item->setToolTip(detail);
                item->setData(Qt::AccessibleTextRole, where + QStringLiteral(": ") + detail);
                if (best) {
                    QFont bold = pairs->font();
                    bold.setBold(true);
                    item->setFont(bold);
                }
            }
            pairs->setItem(r, c, item);
        }
    }
    if (chosenCell_) {
        pairs->setCurrentCell(chosenCell_->first, chosenCell_->second);
    }
}

std::optional<planner::ChoiceValue> PlannerPage::ChosenPair() const {
    if (!result_ || !result_->couple)
        return std::nullopt;
    if (chosenCell_) {
        const PairCell& cell = result_->cells[static_cast<std::size_t>(chosenCell_->first)]
                                             [static_cast<std::size_t>(chosenCell_->second)];
        if (cell.possible)
            return planner::ChoiceValue{cell.client, cell.spouse, cell.value};
    }
    return result_->couple->best;
}

void PlannerPage::ShowBestPair() {
    QString text;
    if (result_ && result_->couple) {
        const planner::CoupleSearch& search = *result_->couple;
        const planner::HouseholdInputs& in = result_->inputs;
        text = QStringLiteral("Best: %1; expected value %2.")
                   .arg(QString::fromStdString(PairWords(
                            in, search.best.client, search.best.spouse.value_or(planner::Month{}))),
                        Money(search.best.value));
        const auto chosen = ChosenPair();
        if (chosen &&
            !(chosen->client == search.best.client && chosen->spouse == search.best.spouse))
            text += QStringLiteral("\nChosen: %1; %2, %3 less than the best.")
                        .arg(QString::fromStdString(PairWords(in, chosen->client, *chosen->spouse)),
                             Money(chosen->value), Money(search.best.value - chosen->value));
        QStringList refs;
        for (const ReferenceLine& line : References(search))
            // The best is the largest, so a reference is never worth more: say by how much less
            // instead of a negative amount in brackets inside brackets.
            refs << QStringLiteral("%1 %2, %3 less")
                        .arg(QString::fromLatin1(line.name.c_str()), Money(line.choice.value),
                             Money(-line.difference));
        text += QLatin1Char('\n') + refs.join(QStringLiteral("; "));
    }
    bestPair->setText(text);
    bestPair->setVisible(!text.isEmpty());
}

void PlannerPage::SelectPlanRow(int row) {
    options->setCurrentCell(row, 0);
    options->selectRow(row);
}

void PlannerPage::SelectPairCell(int clientAge, int spouseAge) {
    pairs->setCurrentCell(clientAge - kGridFirstAge, spouseAge - kGridFirstAge);
}

void PlannerPage::RefreshChart() {
    chartPending_ = false;
    if (chart_ == nullptr)
        return;
    planner::BreakEvenChartData points;
    if (result_) {
        try {
            const planner::HouseholdModel model(result_->inputs);
            if (result_->couple) {
                const auto chosen = ChosenPair();
                points = ExpectedValueChart(model, chosen->client, chosen->spouse);
            } else if (result_->plan) {
                const int row = options->currentRow();
                const std::size_t index =
                    row >= 0 && static_cast<std::size_t>(row) < result_->rows.size()
                        ? result_->rows[static_cast<std::size_t>(row)]
                        : result_->plan->best;
                points =
                    ExpectedValueChart(model, result_->plan->options[index].claim, std::nullopt);
            }
        } catch (const std::exception&) {
            SetArithmeticContext();
            points = {};
        }
    }
    Charts().fillView(chart_, points, &MoneyText);
}

planner::ClaimEntry PlannerPage::ChosenEntry(planner::ClaimSide side) const {
    if (result_ && result_->couple)
        throw std::runtime_error(
            "Use as Early and Use as Later take one client's month; clear Married to compare "
            "two starts of the client.");
    const int row = options->currentRow();
    if (!result_ || !result_->plan || row < 0 ||
        static_cast<std::size_t>(row) >= result_->rows.size())
        throw std::runtime_error("Choose a claiming month in the planner's table first.");
    return planner::ClaimEntryFor(*result_->plan, result_->rows[static_cast<std::size_t>(row)],
                                  side);
}

ClientSummary PlannerPage::Summary(const std::string& clientName, const std::string& spouseName,
                                   const std::string& preparer, const std::string& dateText) const {
    if (!result_)
        throw std::runtime_error(
            "The summary needs the client's date of birth, sex and benefit at full "
            "retirement age on the Planner page.");
    HouseholdSummaryInputs s;
    s.clientName = clientName;
    s.spouseName = spouseName;
    s.preparer = preparer;
    s.dateText = dateText;
    s.inputs = result_->inputs;
    if (result_->plan) {
        s.plan = &*result_->plan;
        const int row = options->currentRow();
        if (row >= 0 && static_cast<std::size_t>(row) < result_->rows.size())
            s.chosenOption = result_->rows[static_cast<std::size_t>(row)];
    } else {
        s.couple = &*result_->couple;
        s.chosen = ChosenPair();
    }
    return BuildHouseholdSummary(s);
}

}  // namespace velmora
