#include "operator_week.h"

#include <QSet>
#include <algorithm>
#include <random>
#include <vector>

#include "app/operator_actions.h"
#include "app/station_commands.h"

namespace {

// A number for a button, tab or row, counted from 1: one in five beyond anything a station
// has.
QString RandomNumber(std::mt19937& random) {
    if (std::uniform_int_distribution<int>(0, 4)(random) == 0)
        return QString::number(std::uniform_int_distribution<int>(7, 501)(random));
    return QString::number(std::uniform_int_distribution<int>(1, 6)(random));
}

QString RandomArgument(const OperatorVerb& verb, std::mt19937& random) {
    switch (verb.argument) {
        case VerbArgument::None:
            return {};
        case VerbArgument::OnOff:
            return std::bernoulli_distribution(0.5)(random) ? QStringLiteral("on")
                                                            : QStringLiteral("off");
        case VerbArgument::Number:
            return RandomNumber(random);
        case VerbArgument::Text:
            return std::bernoulli_distribution(0.5)(random) ? QString() : RandomNumber(random);
    }
    return {};
}

}  // namespace

bool DrawnByRandomOperator(const OperatorVerb& verb) {
    // The air's verbs, what the invariants of the as-run log speak of; the window's others
    // edit files or move what the operator's own hand is not modelled for.
    static const QSet<QString> air = [] {
        QSet<QString> names;
        for (const OperatorVerb& v : StationCommands::OnAirVerbs()) names.insert(v.name);
        return names;
    }();
    return air.contains(QLatin1String(verb.name));
}

OperatorWeek RandomOperatorWeek(std::uint32_t seed, const QDateTime& from, int days, int count) {
    std::mt19937 random(seed);
    std::vector<OperatorVerb> verbs;
    for (const OperatorVerb& verb : OperatorVerbs()) {
        if (DrawnByRandomOperator(verb)) verbs.push_back(verb);
    }
    std::vector<const OperatorVerb*> drawn;
    for (const OperatorVerb& verb : verbs) drawn.push_back(&verb);  // each verb at least once
    std::uniform_int_distribution<std::size_t> anyVerb(0, verbs.size() - 1);
    while (int(drawn.size()) < count) drawn.push_back(&verbs[anyVerb(random)]);

    const qint64 spanSeconds = qint64(days) * 24 * 3600;
    std::uniform_int_distribution<qint64> anySecond(1, spanSeconds - 1);
    std::vector<std::pair<qint64, QString>> timed;
    for (const OperatorVerb* verb : drawn) {
        const QString argument = RandomArgument(*verb, random);
        timed.emplace_back(anySecond(random),
                           (QLatin1String(verb->name) + u' ' + argument).trimmed());
    }
    std::ranges::stable_sort(timed, {}, &std::pair<qint64, QString>::first);

    OperatorWeek week;
    for (const OperatorVerb& verb : verbs) week.perVerb[QLatin1String(verb.name)] = 0;
    for (const auto& [second, action] : timed) {
        week.lines << from.addSecs(second).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) +
                          action;
        ++week.perVerb[action.section(u' ', 0, 0)];
    }
    return week;
}
