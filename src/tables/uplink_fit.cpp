#include "tables/uplink_fit.h"

#include "core/int_read.h"
#include "core/messages.h"
#include "tables/rule_document.h"
#include "tables/table_messages.h"

#include <algorithm>
#include <cstring>

QList<Uplink_Overrun> Uplink_Overruns(const Rule_Document &rules, qint64 payload)
{
    QList<Uplink_Overrun> overruns;
    int row = 0;
    rules.For_Each_Uplink([&](const Uplink_Row &rule) {
        const int r = row++;
        if (!rule.Has(Up_Enable) || std::strcmp(rule.Raw(Up_Enable), "Y") != 0)
            return;
        const qint64 n = Str_To_Int_Def(rule.Text(Up_NumByte), -1);
        if (n < 0 || n > payload - Uplink_Reserved_Bytes)
            overruns << Uplink_Overrun{r, n};
    });
    return overruns;
}

QString Payload_Shrink_Warning(const Rule_Document &rules, qint64 before, qint64 now)
{
    if (now >= before)
        return {};
    const QList<Uplink_Overrun> broken = Uplink_Overruns(rules, before);
    for (const Uplink_Overrun &overrun : Uplink_Overruns(rules, now)) {
        const bool fitted = std::none_of(broken.begin(), broken.end(),
                                         [&](const Uplink_Overrun &was) { return was.Row == overrun.Row; });
        if (fitted)
            return Messages()
                .Get(Msg_Payload_Shrinks)
                .arg(now - Uplink_Reserved_Bytes)
                .arg(now)
                .arg(Uplink_Reserved_Bytes)
                .arg(overrun.Row + 1) // as the rule checks name their rows
                .arg(overrun.Bytes);
    }
    return {};
}
