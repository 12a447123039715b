#include "planner/optimiser.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace velmora::planner {

namespace {

Who OtherOf(Who who) {
    return who == Who::Client ? Who::Spouse : Who::Client;
}

}  // namespace

long double CoupleSearch::Value(Month client, Month spouse) const {
    return values[static_cast<std::size_t>((client.index - clientFirst.index) * spouseCount +
                                           (spouse.index - spouseFirst.index))];
}

HouseholdModel::HouseholdModel(const HouseholdInputs& inputs, const LifeTable& period,
                               const CohortLifeTables& cohort)
    : rules_(inputs) {
    const Month asOf = rules_.AsOf();
    clientAlive_ = MonthlySurvival(inputs.client, asOf, inputs.mortality, period, cohort);
    if (inputs.spouse)
        spouseAlive_ = MonthlySurvival(*inputs.spouse, asOf, inputs.mortality, period, cohort);
    months_ = static_cast<int>(std::max(clientAlive_.size(), spouseAlive_.size()));
    // Discounting to the as-of month; the payment for a benefit month comes a month later.
    // (1 + rate)^(-k/12) as whole years times the months left over: few powers to take.
    const long double perYear = 1 + inputs.rate / 100;
    discount_.resize(static_cast<std::size_t>(months_) + 2);
    long double monthly[12];
    for (int j = 0; j < 12; ++j)
        monthly[j] = std::pow(perYear, -static_cast<long double>(j) / 12);
    long double yearly = 1;
    for (std::size_t k = 0; k < discount_.size(); ++k) {
        if (k % 12 == 0)
            yearly = std::pow(perYear, -static_cast<long double>(k / 12));
        discount_[k] = yearly * monthly[k % 12];
    }
}

long double HouseholdModel::Alive(Who who, int k) const {
    const auto& alive = who == Who::Client ? clientAlive_ : spouseAlive_;
    if (k < 0)
        return 1;
    return static_cast<std::size_t>(k) < alive.size() ? alive[static_cast<std::size_t>(k)] : 0;
}

Month HouseholdModel::FirstChoice(Who who) const {
    const PersonInputs& p = rules_.Person(who);
    return p.claimed ? *p.claimed : rules_.MonthsOf(who).firstChoice;
}

Month HouseholdModel::LastChoice(Who who) const {
    const PersonInputs& p = rules_.Person(who);
    return p.claimed ? *p.claimed : rules_.MonthsOf(who).at70;
}

long double HouseholdModel::SingleValue(Month claim) const {
    long double value = 0;
    for (int k = 0; k < months_; ++k) {
        const Month m{rules_.AsOf().index + k};
        const std::int64_t paid = rules_.PaidDollars(rules_.OwnCents(Who::Client, claim, m), m);
        if (paid != 0)
            value += static_cast<long double>(paid) * Alive(Who::Client, k) * Discount(k + 1);
    }
    return value;
}

namespace {

// The survivor's expected value from the month of the death on, for one choice of start.
long double SurvivorBranch(const HouseholdModel& model, Who survivor, Month death,
                           Month survivorClaim, Month deceasedClaim, Month start) {
    const BenefitRules& rules = model.Rules();
    const int first = death.index - rules.AsOf().index;
    const SurvivorTerms terms = rules.SurvivorTermsFor(survivor, death, deceasedClaim, start);
    long double value = 0;
    for (int k = first; k < model.MonthCount(); ++k) {
        const Month m{rules.AsOf().index + k};
        std::int64_t cents = rules.OwnCents(survivor, survivorClaim, m);
        if (m > death && m >= start)
            cents = std::max(cents, rules.SurvivorCents(terms, survivor, m));
        const std::int64_t paid = rules.PaidDollars(cents, m);
        if (paid != 0)
            value +=
                static_cast<long double>(paid) * model.Alive(survivor, k) * model.Discount(k + 1);
    }
    return value;
}

// Terms that give the same amount for every PIA written one way, so that equal streams are
// made once: a limit that cannot bind is dropped, and a deceased's factor under 82.5 % is the
// 82.5 % floor the limit takes anyway. The floors in dimes keep the order of the factors.
SurvivorTerms SameAmounts(SurvivorTerms terms) {
    if (!terms.limited)
        return terms;
    const Fraction floor{825, 1000};
    const auto below = [](Fraction a, Fraction b) {
        return a.numerator * b.denominator < b.numerator * a.denominator;
    };
    if (below(terms.deceasedFactor, floor))
        terms.deceasedFactor = floor;
    const bool binds = below(terms.deceasedFactor, terms.reduction);
    if (!binds && terms.base == Fraction{1, 1}) {
        terms.limited = false;
        terms.deceasedFactor = Fraction{1, 1};
    }
    return terms;
}

// The two starts a survivor chooses between: the month after the death (not before 60) and
// survivor FRA (not before the month after the death).
std::pair<Month, Month> SurvivorStarts(const BenefitRules& rules, Who survivor, Month death) {
    const PersonMonths& s = rules.MonthsOf(survivor);
    const Month after{death.index + 1};
    return {std::max(after, s.at60), std::max(after, s.survivorFra)};
}

}  // namespace

Month HouseholdModel::SurvivorStart(Who survivor, Month death, Month survivorClaim,
                                    Month deceasedClaim) const {
    const auto [early, atFra] = SurvivorStarts(rules_, survivor, death);
    if (early == atFra)
        return early;
    const long double earlyValue =
        SurvivorBranch(*this, survivor, death, survivorClaim, deceasedClaim, early);
    const long double fraValue =
        SurvivorBranch(*this, survivor, death, survivorClaim, deceasedClaim, atFra);
    return fraValue > earlyValue ? atFra : early;
}

namespace {

// The couple's search. Months are counted from the as-of month (k = 0). Every amount is
// constant within a "piece": a new piece starts each December (the COLA), in the Januaries
// that start paying a claim year's delayed credits or a benefit cut, and in each person's
// month of 70 (the last credits).
// Within a piece a stream changes only at a claim or a start, so a stream is summed piece by
// piece against prefix sums of its monthly weights, and what depends on one person's claim
// alone is made once and shared by every pair. A reduced survivor stream is made once for all
// the deceased's claims whose terms give the same amounts, and each own choice is valued
// against it once.
class CoupleEngine {
  public:
    explicit CoupleEngine(const HouseholdModel& model);
    CoupleSearch Search() const;

  private:
    // The weights a survivor's stream is summed against: alive x discount, and that times
    // the other's chance of being alive at the end of the month before.
    enum Weight { kAlone, kAloneOther };

    // A survivor benefit in dollars paid per piece, with prefix sums over whole pieces.
    struct Stream {
        std::vector<std::int64_t> paid;
        std::vector<long double> prefix[2];
        long double factor = 0;  // of the deceased's PIA, for the bounds below
        // The stream alone from the month it is made to start in, to the end (alone weight).
        int start = -1;
        long double tail = 0;
    };

    struct Person {
        Who who = Who::Client;
        int first = 0;  // the first choice (relative month)
        int count = 0;
        int fra = 0;
        int at60 = 0;
        int survivorFra = 0;
        int firstAt62 = 0;
        std::vector<long double> alive;      // [k]
        std::vector<long double> dies;       // [k]: dies in month k
        std::vector<std::int64_t> pia;       // cents per piece
        std::vector<long double> weight[2];  // prefix sums over months
        // Per choice.
        std::vector<std::vector<std::int64_t>> ownCents;  // per piece, from the claim on
        std::vector<std::vector<std::int64_t>> ownPaid;
        std::vector<int> steadyFrom;  // the month from which all credits are paid
        std::vector<long double> steadyFactor;
        std::vector<long double> claimFactor;            // the factor paid in the claim month
        std::vector<std::vector<long double>> ownJoint;  // prefix: both alive x own
        std::vector<std::vector<long double>> ownWeighted[2];
        std::vector<std::vector<long double>> ownAtDeath;  // prefix: other dies x alive x own
        // Prefix over the death month m of: other dies in m x the own values to the month after.
        std::vector<std::vector<long double>> ownBeforeDeath;
        bool hasExcess = false;
        int spousalFirst = 0;
        std::vector<std::vector<std::int64_t>> spousal;  // per spousal start, per piece
        // The joint part when the other claims first: the spousal part starts with the claim.
        std::vector<long double> jointOwnFirst;
        // Deaths of the other before the other's claim: prefix over the death month.
        std::vector<std::vector<long double>> unclaimedPrefix;
        // Deaths after the other's claim, per claim of the other: the unreduced stream, and
        // the reduced streams of the starts before survivor FRA.
        std::vector<Stream> full;
        std::vector<int> earlyFirst;
        std::vector<std::vector<std::size_t>> early;  // into earlyStreams
        // The reduced streams, each made once for all the other's claims that give it.
        std::vector<Stream> earlyStreams;
        // Per own choice c and reduced stream i, [c * earlyStreams.size() + i]: the own values
        // before the stream's start plus the larger of the two from it on.
        std::vector<long double> earlyBranch;
        // Bounds of this person's PIA over the other's, over all pieces.
        long double ratioMin = 0;
        long double ratioMax = 0;
        std::int64_t otherPiaMin = 0;
    };

    Month MonthAt(int k) const { return Month{asOf_.index + k}; }
    std::size_t Pieces() const { return pieceStart_.size() - 1; }
    std::size_t PieceOf(int k) const {
        return static_cast<std::size_t>(pieceOf_[static_cast<std::size_t>(std::min(k, T_ - 1))]);
    }
    int Start(std::size_t j) const { return pieceStart_[j]; }
    int End(std::size_t j) const { return pieceStart_[j + 1]; }
    std::int64_t Paid(std::int64_t cents, std::size_t j) const;

    void PreparePerson(Person& p, const Person& other);
    void PrepareSpousal(Person& p, const Person& other);
    void PrepareBounds(Person& p, const Person& other);
    Stream MakeStream(const Person& survivor, const SurvivorTerms& terms, int start = -1) const;
    void PrepareStreams(Person& x, const Person& y);
    void PrepareUnclaimed(Person& x, const Person& y);

    // The survivor stream alone over months [from, to).
    long double StreamOnly(const Person& x, const Stream& s, int from, int to, Weight w) const;
    // Months [from, T) of the larger of the own benefit (from the claim on) and the stream.
    long double Survivor(const Person& x, std::size_t choice, const Stream& s, int from,
                         Weight w) const;
    long double Exact(const Person& x, std::size_t choice, const Stream& s, int from, int to,
                      Weight w) const;

    long double JointPart(const Person& p, const Person& other, int own, int otherChoice) const;
    long double JointFrom(const Person& p, int own, int start) const;
    long double SurvivorPart(const Person& x, int own, const Person& y, int deceasedChoice) const;

    const BenefitRules& rules_;
    Month asOf_;
    int T_ = 0;
    std::vector<int> pieceStart_;
    std::vector<int> pieceOf_;
    std::vector<std::int64_t> kept_;  // per piece: ten-thousandths of a benefit paid
    std::vector<long double> d1_;
    std::vector<long double> jointW_;
    Person client_;
    Person spouse_;
};

CoupleEngine::CoupleEngine(const HouseholdModel& model)
    : rules_(model.Rules()), asOf_(model.Rules().AsOf()), T_(model.MonthCount()) {
    client_.who = Who::Client;
    spouse_.who = Who::Spouse;
    // Januaries matter only where a claim year's credits or a cut begin.
    std::vector<int> starts = {0, T_};
    const auto add = [&](Month m) {
        if (m.index - asOf_.index > 0 && m.index - asOf_.index < T_)
            starts.push_back(m.index - asOf_.index);
    };
    for (int k = 1; k < T_; ++k) {
        if (MonthAt(k).MonthOfYear() == 12)
            starts.push_back(k);
    }
    for (Who who : {Who::Client, Who::Spouse}) {
        if (who == Who::Spouse && !rules_.IsCouple())
            continue;
        const PersonMonths& m = rules_.MonthsOf(who);
        add(m.at70);
        for (int year = m.fra.Year() + 1; year <= m.at70.Year(); ++year)
            add(Month::Of(year, 1));
    }
    if (rules_.Inputs().cut)
        add(Month::Of(rules_.Inputs().cut->fromYear, 1));
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    pieceStart_ = starts;
    pieceOf_.assign(static_cast<std::size_t>(T_), 0);
    kept_.assign(Pieces(), 10000);
    for (std::size_t j = 0; j < Pieces(); ++j) {
        for (int k = Start(j); k < End(j); ++k)
            pieceOf_[static_cast<std::size_t>(k)] = static_cast<int>(j);
        const auto& cut = rules_.Inputs().cut;
        if (cut && MonthAt(Start(j)).Year() >= cut->fromYear)
            kept_[j] = 10000 - cut->percentHundredths;
    }
    d1_.resize(static_cast<std::size_t>(T_));
    for (int k = 0; k < T_; ++k)
        d1_[static_cast<std::size_t>(k)] = model.Discount(k + 1);
    for (Person* p : {&client_, &spouse_}) {
        p->alive.resize(static_cast<std::size_t>(T_));
        p->dies.resize(static_cast<std::size_t>(T_));
        for (int k = 0; k < T_; ++k) {
            p->alive[static_cast<std::size_t>(k)] = model.Alive(p->who, k);
            p->dies[static_cast<std::size_t>(k)] =
                model.Alive(p->who, k - 1) - model.Alive(p->who, k);
        }
        p->first = model.FirstChoice(p->who).index - asOf_.index;
        p->count = model.LastChoice(p->who).index - model.FirstChoice(p->who).index + 1;
    }
    jointW_.assign(static_cast<std::size_t>(T_) + 1, 0);
    for (int k = 0; k < T_; ++k) {
        const auto i = static_cast<std::size_t>(k);
        jointW_[i + 1] = jointW_[i] + client_.alive[i] * spouse_.alive[i] * d1_[i];
    }
    PreparePerson(client_, spouse_);
    PreparePerson(spouse_, client_);
    for (auto [x, y] : {std::pair{&client_, &spouse_}, std::pair{&spouse_, &client_}}) {
        PrepareSpousal(*x, *y);
        PrepareBounds(*x, *y);
        PrepareStreams(*x, *y);
        PrepareUnclaimed(*x, *y);
    }
}

std::int64_t CoupleEngine::Paid(std::int64_t cents, std::size_t j) const {
    return cents * kept_[j] / (10000 * 100);
}

void CoupleEngine::PreparePerson(Person& p, const Person& other) {
    const PersonMonths& m = rules_.MonthsOf(p.who);
    p.fra = m.fra.index - asOf_.index;
    p.at60 = m.at60.index - asOf_.index;
    p.survivorFra = m.survivorFra.index - asOf_.index;
    p.firstAt62 = m.firstAt62.index - asOf_.index;
    const std::size_t pieces = Pieces();
    p.pia.resize(pieces);
    for (std::size_t j = 0; j < pieces; ++j)
        p.pia[j] = rules_.PiaCents(p.who, MonthAt(Start(j)));
    const auto n = static_cast<std::size_t>(T_) + 1;
    for (auto& w : p.weight)
        w.assign(n, 0);
    for (int k = 0; k < T_; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const long double w = p.alive[i] * d1_[i];
        p.weight[kAlone][i + 1] = p.weight[kAlone][i] + w;
        p.weight[kAloneOther][i + 1] =
            p.weight[kAloneOther][i] + w * (k == 0 ? 1 : other.alive[i - 1]);
    }
    const auto count = static_cast<std::size_t>(p.count);
    p.ownCents.assign(count, std::vector<std::int64_t>(pieces, 0));
    p.ownPaid = p.ownCents;
    p.steadyFrom.assign(count, 0);
    p.steadyFactor.assign(count, 0);
    p.claimFactor.assign(count, 0);
    // The prefix sums are written once each, month by month, not zeroed first.
    for (auto* sums : {&p.ownJoint, &p.ownWeighted[kAlone], &p.ownWeighted[kAloneOther],
                       &p.ownAtDeath, &p.ownBeforeDeath}) {
        sums->assign(count, {});
        for (auto& v : *sums) {
            v.reserve(n);
            v.push_back(0);
        }
    }
    // The months' weights, the same for every claim.
    const auto stepOf = [&](const std::vector<long double>& sums) {
        std::vector<long double> step(static_cast<std::size_t>(T_));
        for (std::size_t i = 0; i < step.size(); ++i)
            step[i] = sums[i + 1] - sums[i];
        return step;
    };
    const std::vector<long double> jointStep = stepOf(jointW_);
    const std::vector<long double> aloneStep[2] = {stepOf(p.weight[kAlone]),
                                                   stepOf(p.weight[kAloneOther])};
    for (std::size_t c = 0; c < count; ++c) {
        const int claim = p.first + static_cast<int>(c);
        const Month claimMonth = MonthAt(claim);
        // All credits are paid from the next January, or from 70 in the year of 70.
        const Month paidInFull = claimMonth.Year() >= m.at70.Year()
                                     ? std::max(m.at70, claimMonth)
                                     : Month::Of(claimMonth.Year() + 1, 1);
        const bool credited = claimMonth > m.fra;
        p.steadyFrom[c] = credited ? paidInFull.index - asOf_.index : claim;
        const Fraction steady =
            rules_.OwnFactor(p.who, claimMonth, credited ? paidInFull : claimMonth);
        p.steadyFactor[c] = static_cast<long double>(steady.numerator) /
                            static_cast<long double>(steady.denominator);
        for (std::size_t j = 0; j < pieces; ++j) {
            const int at = std::max(Start(j), claim);
            if (at < End(j))
                p.ownCents[c][j] = rules_.OwnCents(p.who, claimMonth, MonthAt(at));
            p.ownPaid[c][j] = Paid(p.ownCents[c][j], j);
        }
        auto& joint = p.ownJoint[c];
        auto& alone = p.ownWeighted[kAlone][c];
        auto& aloneOther = p.ownWeighted[kAloneOther][c];
        auto& atDeath = p.ownAtDeath[c];
        auto& beforeDeath = p.ownBeforeDeath[c];
        const auto& paid = p.ownPaid[c];
        // Nothing is paid before the claim: the sums are zero up to it.
        const int from = std::clamp(claim, 0, T_);
        for (auto* sums : {&joint, &alone, &aloneOther, &atDeath, &beforeDeath})
            sums->resize(static_cast<std::size_t>(from) + 1, 0);
        for (int k = from; k < T_; ++k) {
            const auto i = static_cast<std::size_t>(k);
            const auto amount = static_cast<long double>(paid[PieceOf(k)]);
            joint.push_back(joint[i] + amount * jointStep[i]);
            alone.push_back(alone[i] + amount * aloneStep[kAlone][i]);
            aloneOther.push_back(aloneOther[i] + amount * aloneStep[kAloneOther][i]);
            atDeath.push_back(atDeath[i] + amount * p.alive[i] * d1_[i] * other.dies[i]);
            beforeDeath.push_back(beforeDeath[i] + other.dies[i] * alone[i + 1]);
        }
    }
}

void CoupleEngine::PrepareSpousal(Person& p, const Person& other) {
    if (!rules_.IsCouple())
        return;
    const std::size_t pieces = Pieces();
    for (std::size_t j = 0; j < pieces && !p.hasExcess; ++j)
        p.hasExcess = other.pia[j] / 2 / 10 * 10 > p.pia[j];
    if (!p.hasExcess)
        return;
    // The spousal part starts with the later claim, not before 62.
    p.spousalFirst = std::max({p.first, other.first, p.firstAt62});
    const int last =
        std::max({p.first + p.count - 1, other.first + other.count - 1, p.spousalFirst});
    for (int start = p.spousalFirst; start <= last; ++start) {
        std::vector<std::int64_t> parts(pieces, 0);
        for (std::size_t j = 0; j < pieces; ++j) {
            const int at = std::max(Start(j), start);
            if (at < End(j))
                parts[j] = rules_.SpousalCents(p.who, MonthAt(start), MonthAt(start), MonthAt(at));
        }
        p.spousal.push_back(std::move(parts));
    }
    // Used only for pairs where the other claims first, which some claims never have.
    p.jointOwnFirst.assign(static_cast<std::size_t>(p.count), 0);
    for (int c = 0; c < p.count; ++c) {
        const int start = std::max(p.first + c, p.firstAt62);
        if (start >= p.spousalFirst)
            p.jointOwnFirst[static_cast<std::size_t>(c)] = JointFrom(p, c, start);
    }
}

void CoupleEngine::PrepareBounds(Person& p, const Person& other) {
    p.ratioMin = 0;
    p.ratioMax = 0;
    p.otherPiaMin = other.pia.empty() ? 0 : other.pia.front();
    bool any = false;
    for (std::size_t j = 0; j < Pieces(); ++j) {
        p.otherPiaMin = std::min(p.otherPiaMin, other.pia[j]);
        if (other.pia[j] <= 0)
            continue;
        const long double r =
            static_cast<long double>(p.pia[j]) / static_cast<long double>(other.pia[j]);
        p.ratioMin = any ? std::min(p.ratioMin, r) : r;
        p.ratioMax = any ? std::max(p.ratioMax, r) : r;
        any = true;
    }
}

CoupleEngine::Stream CoupleEngine::MakeStream(const Person& x, const SurvivorTerms& terms,
                                              int start) const {
    Stream s;
    const std::size_t pieces = Pieces();
    const Person& deceased = x.who == Who::Client ? spouse_ : client_;
    // A stream made for a start is read from that start's piece on.
    const std::size_t first = start >= 0 ? PieceOf(std::min(start, T_ - 1)) : 0;
    s.paid.assign(pieces, 0);
    for (std::size_t j = first; j < pieces; ++j)
        s.paid[j] = Paid(SurvivorCentsOf(terms, deceased.pia[j]), j);
    // Nothing is paid before the first piece: the prefix is zero up to it.
    for (int w = 0; w < 2; ++w) {
        s.prefix[w].assign(pieces + 1, 0);
        for (std::size_t j = first; j < pieces; ++j) {
            s.prefix[w][j + 1] =
                s.prefix[w][j] + static_cast<long double>(s.paid[j]) *
                                     (x.weight[w][static_cast<std::size_t>(End(j))] -
                                      x.weight[w][static_cast<std::size_t>(Start(j))]);
        }
    }
    const auto value = [](Fraction f) {
        return static_cast<long double>(f.numerator) / static_cast<long double>(f.denominator);
    };
    s.factor = value(terms.base) * value(terms.reduction);
    if (terms.limited)
        s.factor = std::min(s.factor, std::max(value(terms.deceasedFactor), 0.825L));
    if (start >= 0 && start < T_) {
        s.tail = StreamOnly(x, s, start, T_, kAlone);
        s.start = start;
    }
    return s;
}

void CoupleEngine::PrepareStreams(Person& x, const Person& y) {
    if (!rules_.IsCouple())
        return;
    const auto count = static_cast<std::size_t>(y.count);
    x.full.resize(count);
    x.earlyFirst.assign(count, 0);
    x.early.assign(count, {});
    x.earlyStreams.clear();
    std::map<std::tuple<int, std::int64_t, std::int64_t, std::int64_t, std::int64_t, bool,
                        std::int64_t, std::int64_t>,
             std::size_t>
        byTerms;
    for (std::size_t c = 0; c < count; ++c) {
        const int claim = y.first + static_cast<int>(c);
        const int firstDeath = std::max(claim + 1, 0);
        const Month claimed = MonthAt(claim);
        x.full[c] = MakeStream(
            x, rules_.SurvivorTermsFor(x.who, MonthAt(firstDeath), claimed,
                                       MonthAt(std::max(firstDeath + 1, x.survivorFra))));
        // Deaths before survivor FRA may start a reduced benefit the month after.
        x.earlyFirst[c] = std::max(firstDeath + 1, x.at60);
        for (int s1 = x.earlyFirst[c]; s1 < std::min(x.survivorFra, T_); ++s1) {
            const SurvivorTerms terms =
                SameAmounts(rules_.SurvivorTermsFor(x.who, MonthAt(s1 - 1), claimed, MonthAt(s1)));
            const auto key = std::make_tuple(s1, terms.base.numerator, terms.base.denominator,
                                             terms.reduction.numerator, terms.reduction.denominator,
                                             terms.limited, terms.deceasedFactor.numerator,
                                             terms.deceasedFactor.denominator);
            auto it = byTerms.find(key);
            if (it == byTerms.end()) {
                it = byTerms.emplace(key, x.earlyStreams.size()).first;
                x.earlyStreams.push_back(MakeStream(x, terms, s1));
            }
            x.early[c].push_back(it->second);
        }
    }
    // Every own choice against every reduced stream, once, for all the pairs that meet it.
    const std::size_t n = x.earlyStreams.size();
    x.earlyBranch.assign(static_cast<std::size_t>(x.count) * n, 0);
    for (std::size_t c = 0; c < static_cast<std::size_t>(x.count); ++c) {
        const long double f = x.steadyFactor[c];
        const auto otherMin = static_cast<long double>(x.otherPiaMin);
        const auto& ownAlone = x.ownWeighted[kAlone][c];
        for (std::size_t i = 0; i < n; ++i) {
            const Stream& early = x.earlyStreams[i];
            // The survivor benefit larger than the own benefit throughout, as Survivor()
            // decides it: then its value is its own total from its start.
            const bool survivorLarger =
                f <= 0 ||
                (x.otherPiaMin > 0 && (early.factor - x.ratioMax * f) * otherMin >= 20 + 1e-9L);
            const long double later =
                survivorLarger ? early.tail : Survivor(x, c, early, early.start, kAlone);
            x.earlyBranch[c * n + i] = ownAlone[static_cast<std::size_t>(early.start)] + later;
        }
    }
}

long double CoupleEngine::StreamOnly(const Person& x, const Stream& s, int from, int to,
                                     Weight w) const {
    if (from >= to)
        return 0;
    const auto& W = x.weight[w];
    const std::size_t jf = PieceOf(from);
    const std::size_t jt = PieceOf(to - 1);
    const auto part = [&](std::size_t j, int lo, int hi) {
        return static_cast<long double>(s.paid[j]) *
               (W[static_cast<std::size_t>(hi)] - W[static_cast<std::size_t>(lo)]);
    };
    if (jf == jt)
        return part(jf, from, to);
    return part(jf, from, End(jf)) + (s.prefix[w][jt] - s.prefix[w][jf + 1]) +
           part(jt, Start(jt), to);
}

long double CoupleEngine::Exact(const Person& x, std::size_t choice, const Stream& s, int from,
                                int to, Weight w) const {
    long double sum = 0;
    const auto& W = x.weight[w];
    const auto& own = x.ownPaid[choice];
    for (std::size_t j = PieceOf(from); j < Pieces() && Start(j) < to; ++j) {
        const int lo = std::max(Start(j), from);
        const int hi = std::min(End(j), to);
        sum += static_cast<long double>(std::max(own[j], s.paid[j])) *
               (W[static_cast<std::size_t>(hi)] - W[static_cast<std::size_t>(lo)]);
    }
    return sum;
}

long double CoupleEngine::Survivor(const Person& x, std::size_t choice, const Stream& s, int from,
                                   Weight w) const {
    if (from >= T_)
        return 0;
    const int claim = x.first + static_cast<int>(choice);
    // From the month of all credits on both grow by the same COLA: by the bounds of the two
    // PIAs' ratio (the rounding takes at most 10 cents from the own benefit and 20 from the
    // survivor benefit) one of them may be the larger in every piece. The own benefit before
    // its credits are all paid is smaller still, so a survivor benefit larger than the full
    // one is larger throughout.
    const long double f = x.steadyFactor[choice];
    const long double margin = 1e-9L;
    const auto otherMin = static_cast<long double>(x.otherPiaMin);
    const bool survivorLarger =
        f <= 0 || (x.otherPiaMin > 0 && (s.factor - x.ratioMax * f) * otherMin >= 20 + margin);
    if (survivorLarger)
        return from == s.start && w == kAlone ? s.tail : StreamOnly(x, s, from, T_, w);
    const auto ownLargerAt = [&](long double factor) {
        return x.otherPiaMin <= 0 || s.factor <= 0 ||
               (x.ratioMin * factor - s.factor) * otherMin >= 10 + margin;
    };
    // Larger already with the claim month's credits: larger from the claim on.
    if (ownLargerAt(x.claimFactor[choice])) {
        const int lo = std::min(std::max(from, claim), T_);
        return (from < claim ? StreamOnly(x, s, from, lo, w) : 0) +
               (x.ownWeighted[w][choice][static_cast<std::size_t>(T_)] -
                x.ownWeighted[w][choice][static_cast<std::size_t>(lo)]);
    }
    const bool ownLarger = ownLargerAt(f);
    long double sum = 0;
    // Before the own claim the survivor benefit alone.
    if (from < claim)
        sum += StreamOnly(x, s, from, std::min(claim, T_), w);
    // From the claim to the month of all credits, piece by piece.
    const int lo = std::max(from, claim);
    const int steady = std::min(std::max(x.steadyFrom[choice], lo), T_);
    if (lo < steady)
        sum += Exact(x, choice, s, lo, steady, w);
    if (steady >= T_)
        return sum;
    if (ownLarger) {
        return sum + (x.ownWeighted[w][choice][static_cast<std::size_t>(T_)] -
                      x.ownWeighted[w][choice][static_cast<std::size_t>(steady)]);
    }
    return sum + Exact(x, choice, s, steady, T_, w);
}

void CoupleEngine::PrepareUnclaimed(Person& x, const Person& y) {
    const auto n = static_cast<std::size_t>(T_) + 1;
    const auto count = static_cast<std::size_t>(x.count);
    if (!rules_.IsCouple()) {
        x.unclaimedPrefix.assign(count, std::vector<long double>(n, 0));
        return;
    }
    // Read only up to the other's last choice: a death after it follows a claim, whichever
    // month the other chose.
    const int deaths = std::clamp(y.first + y.count, 0, T_);
    x.unclaimedPrefix.assign(count,
                             std::vector<long double>(static_cast<std::size_t>(deaths) + 1, 0));
    // A death before the other's claim: the survivor benefit rests on the PIA with the credits
    // earned up to the death, whichever month the other would have claimed in.
    std::vector<std::pair<Stream, Stream>> streams(static_cast<std::size_t>(T_));
    std::vector<bool> hasEarly(static_cast<std::size_t>(T_), false);
    std::map<std::pair<std::int64_t, std::int64_t>, std::size_t> fullByBase;
    std::vector<Stream> fulls;
    std::vector<std::size_t> fullOf(static_cast<std::size_t>(T_), 0);
    for (int m = 0; m < deaths; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        if (!(y.dies[mi] > 0))
            continue;
        const Month death = MonthAt(m);
        const int s2 = std::max(m + 1, x.survivorFra);
        const SurvivorTerms atFra = rules_.SurvivorTermsFor(x.who, death, death, MonthAt(s2));
        const auto key = std::make_pair(atFra.base.numerator, atFra.base.denominator);
        auto it = fullByBase.find(key);
        if (it == fullByBase.end()) {
            it = fullByBase.emplace(key, fulls.size()).first;
            fulls.push_back(MakeStream(x, atFra));
        }
        fullOf[mi] = it->second;
        const int s1 = std::max(m + 1, x.at60);
        if (s1 < s2 && s1 < T_) {
            streams[mi].second =
                MakeStream(x, rules_.SurvivorTermsFor(x.who, death, death, MonthAt(s1)), s1);
            hasEarly[mi] = true;
        }
    }
    for (std::size_t c = 0; c < count; ++c) {
        auto& prefix = x.unclaimedPrefix[c];
        const auto& ownAlone = x.ownWeighted[kAlone][c];
        for (int m = 0; m < deaths; ++m) {
            const auto mi = static_cast<std::size_t>(m);
            long double value = x.ownAtDeath[c][mi + 1] - x.ownAtDeath[c][mi];
            if (y.dies[mi] > 0) {
                const auto before = [&](int s) {
                    return ownAlone[static_cast<std::size_t>(std::min(s, T_))] - ownAlone[mi + 1];
                };
                const int s2 = std::max(m + 1, x.survivorFra);
                long double branch = before(s2) + Survivor(x, c, fulls[fullOf[mi]], s2, kAlone);
                if (hasEarly[mi]) {
                    const int s1 = std::max(m + 1, x.at60);
                    branch = std::max(branch,
                                      before(s1) + Survivor(x, c, streams[mi].second, s1, kAlone));
                }
                value += y.dies[mi] * branch;
            }
            prefix[mi + 1] = prefix[mi] + value;
        }
    }
}

long double CoupleEngine::JointPart(const Person& p, const Person& other, int own,
                                    int otherChoice) const {
    const auto c = static_cast<std::size_t>(own);
    if (!p.hasExcess)
        return p.ownJoint[c][static_cast<std::size_t>(T_)];
    const int claim = p.first + own;
    const int otherClaim = other.first + otherChoice;
    if (otherClaim <= claim)
        return p.jointOwnFirst[c];
    return JointFrom(p, own, std::max(otherClaim, p.firstAt62));
}

long double CoupleEngine::JointFrom(const Person& p, int own, int start) const {
    const auto c = static_cast<std::size_t>(own);
    const int claim = p.first + own;
    const int from = std::clamp(start, 0, T_);
    long double value = p.ownJoint[c][static_cast<std::size_t>(from)];
    if (from >= T_)
        return value;
    const auto& parts = p.spousal[static_cast<std::size_t>(start - p.spousalFirst)];
    const bool credited = claim > p.fra;
    const auto& ownCents = p.ownCents[c];
    long double lo = jointW_[static_cast<std::size_t>(from)];
    for (std::size_t j = PieceOf(from); j < Pieces(); ++j) {
        std::int64_t cents = ownCents[j];
        if (parts[j] > 0)
            cents = std::max(cents, (credited ? p.pia[j] : cents) + parts[j]);
        const long double hi = jointW_[static_cast<std::size_t>(End(j))];
        value += static_cast<long double>(Paid(cents, j)) * (hi - lo);
        lo = hi;
    }
    return value;
}

long double CoupleEngine::SurvivorPart(const Person& x, int own, const Person& y,
                                       int deceasedChoice) const {
    const auto c = static_cast<std::size_t>(own);
    const auto dc = static_cast<std::size_t>(deceasedChoice);
    const int deceasedClaim = y.first + deceasedChoice;
    long double value = 0;
    // Deaths up to the other's claim month: shared by every claim of the other.
    if (deceasedClaim >= 0)
        value +=
            x.unclaimedPrefix[c][static_cast<std::size_t>(std::min(deceasedClaim, T_ - 1)) + 1];
    const int mStart = std::max(deceasedClaim + 1, 0);
    if (mStart >= T_)
        return value;
    const Stream& full = x.full[dc];
    // Deaths from the month before survivor FRA on: the benefit starts the month after,
    // unreduced. Summed over the death month m and the months k > m paid:
    // sum_k w(k) amount(k) (alive(mLate - 1) - alive(k - 1)).
    const int mLate = std::max(mStart, x.survivorFra - 1);
    if (mLate < T_) {
        const auto li = static_cast<std::size_t>(mLate);
        value += x.ownAtDeath[c][static_cast<std::size_t>(T_)] - x.ownAtDeath[c][li];
        const long double before = mLate == 0 ? 1 : y.alive[li - 1];
        value += before * Survivor(x, c, full, mLate + 1, kAlone) -
                 Survivor(x, c, full, mLate + 1, kAloneOther);
    }
    // Earlier deaths: the better of a reduced start the month after and a start at FRA.
    const int end = std::min(mLate, T_);
    if (mStart >= end)
        return value;
    const auto& ownAlone = x.ownWeighted[kAlone][c];
    const int sFra = std::min(x.survivorFra, T_);
    const long double atFra =
        ownAlone[static_cast<std::size_t>(sFra)] + Survivor(x, c, full, sFra, kAlone);
    // Each death month m adds dies(m) x (the better start's value - own values to m + 1).
    const auto ms = static_cast<std::size_t>(mStart);
    const auto me = static_cast<std::size_t>(end);
    value += x.ownAtDeath[c][me] - x.ownAtDeath[c][ms];
    value -= x.ownBeforeDeath[c][me] - x.ownBeforeDeath[c][ms];
    const auto& ids = x.early[dc];
    const long double* earlyBranch = x.earlyBranch.data() + c * x.earlyStreams.size();
    for (int m = mStart; m < end; ++m) {
        const long double dies = y.dies[static_cast<std::size_t>(m)];
        if (!(dies > 0))
            continue;
        long double branch = atFra;
        const int s1 = std::max(m + 1, x.at60);
        if (s1 < sFra) {
            branch =
                std::max(branch, earlyBranch[ids[static_cast<std::size_t>(s1 - x.earlyFirst[dc])]]);
        }
        value += dies * branch;
    }
    return value;
}

CoupleSearch CoupleEngine::Search() const {
    CoupleSearch search;
    search.clientFirst = MonthAt(client_.first);
    search.clientCount = client_.count;
    search.spouseFirst = MonthAt(spouse_.first);
    search.spouseCount = spouse_.count;
    search.values.resize(static_cast<std::size_t>(client_.count * spouse_.count));
    for (int c = 0; c < client_.count; ++c) {
        for (int s = 0; s < spouse_.count; ++s) {
            search.values[static_cast<std::size_t>(c * spouse_.count + s)] =
                JointPart(client_, spouse_, c, s) + JointPart(spouse_, client_, s, c) +
                SurvivorPart(client_, c, spouse_, s) + SurvivorPart(spouse_, s, client_, c);
        }
    }
    return search;
}

}  // namespace

long double HouseholdModel::CoupleValue(Month clientClaim, Month spouseClaim) const {
    long double value = 0;
    const Month asOf = rules_.AsOf();
    // Both alive at the end of the month.
    for (int k = 0; k < months_; ++k) {
        const Month m{asOf.index + k};
        const long double both = Alive(Who::Client, k) * Alive(Who::Spouse, k);
        if (!(both > 0))
            continue;
        const std::int64_t paid =
            rules_.PaidDollars(rules_.OwnAndSpousalCents(Who::Client, clientClaim, spouseClaim, m),
                               m) +
            rules_.PaidDollars(rules_.OwnAndSpousalCents(Who::Spouse, spouseClaim, clientClaim, m),
                               m);
        value += static_cast<long double>(paid) * both * Discount(k + 1);
    }
    // One dies in month k, the other goes on alone, with the better start of the survivor
    // benefit for that death.
    for (Who deceased : {Who::Client, Who::Spouse}) {
        const Who survivor = OtherOf(deceased);
        const Month survivorClaim = survivor == Who::Client ? clientClaim : spouseClaim;
        const Month deceasedClaim = deceased == Who::Client ? clientClaim : spouseClaim;
        for (int k = 0; k < months_; ++k) {
            const long double dies = Alive(deceased, k - 1) - Alive(deceased, k);
            if (!(dies > 0))
                continue;
            const Month death{asOf.index + k};
            const auto [early, atFra] = SurvivorStarts(rules_, survivor, death);
            long double branch =
                SurvivorBranch(*this, survivor, death, survivorClaim, deceasedClaim, early);
            if (atFra != early) {
                branch = std::max(branch, SurvivorBranch(*this, survivor, death, survivorClaim,
                                                         deceasedClaim, atFra));
            }
            value += dies * branch;
        }
    }
    return value;
}

std::vector<PaymentRow> HouseholdModel::Payments(Month clientClaim,
                                                 std::optional<Month> spouseClaim,
                                                 std::optional<Death> death,
                                                 std::optional<Month> firstMonth) const {
    std::optional<Month> start;
    if (death && spouseClaim) {
        const Who survivor = OtherOf(death->who);
        const Month survivorClaim = survivor == Who::Client ? clientClaim : *spouseClaim;
        const Month deceasedClaim = death->who == Who::Client ? clientClaim : *spouseClaim;
        start = SurvivorStart(survivor, death->month, survivorClaim, deceasedClaim);
    }
    return PaymentRows(rules_, clientClaim, spouseClaim, death, start, LastMonth(), firstMonth);
}

SingleSearch HouseholdModel::SearchSingle() const {
    SingleSearch search;
    const Month asOf = rules_.AsOf();
    const PersonMonths& m = rules_.MonthsOf(Who::Client);
    const auto& cut = rules_.Inputs().cut;
    // The chance-weighted discount of each month's payment, shared by every claim.
    std::vector<long double> weight(static_cast<std::size_t>(months_));
    for (int k = 0; k < months_; ++k)
        weight[static_cast<std::size_t>(k)] = Alive(Who::Client, k) * Discount(k + 1);
    for (Month c = FirstChoice(Who::Client); c <= LastChoice(Who::Client); ++c.index) {
        // The amount changes only with a COLA (December), credits or a cut (January), the
        // month of 70 and the claim itself: it is worked out again only there.
        long double value = 0;
        std::int64_t paid = 0;
        for (int k = std::max(c.index - asOf.index, 0); k < months_; ++k) {
            const Month month{asOf.index + k};
            const int moy = month.MonthOfYear();
            if (month == c || k == 0 || moy == 12 || moy == 1 || month == m.at70 ||
                (cut && month == Month::Of(cut->fromYear, 1)))
                paid = rules_.PaidDollars(rules_.OwnCents(Who::Client, c, month), month);
            value += static_cast<long double>(paid) * weight[static_cast<std::size_t>(k)];
        }
        search.months.push_back({c, std::nullopt, value});
        if (search.months.back().value > search.months[search.best].value)
            search.best = search.months.size() - 1;
    }
    return search;
}

CoupleSearch HouseholdModel::SearchCouple() const {
    CoupleEngine engine(*this);
    CoupleSearch search = engine.Search();
    const auto choice = [&](int c, int s) {
        return ChoiceValue{Month{search.clientFirst.index + c}, Month{search.spouseFirst.index + s},
                           search.values[static_cast<std::size_t>(c * search.spouseCount + s)]};
    };
    std::vector<ChoiceValue> all;
    all.reserve(search.values.size());
    for (int c = 0; c < search.clientCount; ++c) {
        for (int s = 0; s < search.spouseCount; ++s)
            all.push_back(choice(c, s));
    }
    // The largest value first; on a tie the earlier client month, then the earlier spouse's.
    std::stable_sort(all.begin(), all.end(),
                     [](const ChoiceValue& a, const ChoiceValue& b) { return a.value > b.value; });
    search.best = all.front();
    all.resize(std::min<std::size_t>(all.size(), 10));
    search.topTen = all;
    const auto at = [&](Month client, Month spouse) {
        const auto clamp = [](Month m, Month first, int count) {
            return std::clamp(m.index - first.index, 0, count - 1);
        };
        return choice(clamp(client, search.clientFirst, search.clientCount),
                      clamp(spouse, search.spouseFirst, search.spouseCount));
    };
    search.bothEarliest = at(search.clientFirst, search.spouseFirst);
    search.bothFra = at(rules_.MonthsOf(Who::Client).fra, rules_.MonthsOf(Who::Spouse).fra);
    search.both70 = at(rules_.MonthsOf(Who::Client).at70, rules_.MonthsOf(Who::Spouse).at70);
    return search;
}

}  // namespace velmora::planner
