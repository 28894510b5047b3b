// An --actions file over one simulated day.
#include "app/operator_actions.h"

#include "base/text_file.h"
#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QDateTime from(QDate(2024, 3, 4), QTime(0, 0));
    static const QDateTime to = from.addDays(1);
    const ReadResult<QList<OperatorAction>> actions = ParseOperatorActions(
        QStringLiteral("actions"), text_file::DecodeText(InputBytes(data, size)), from, to);
    QDateTime earliest = from;
    for (const OperatorAction& action : actions.value) {
        if (!action.verb || action.when < earliest || action.when > to) std::abort();
        earliest = action.when;
    }
    return 0;
}
