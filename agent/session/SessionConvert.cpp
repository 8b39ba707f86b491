#include "SessionConvert.h"

#include <FixedField.h>

namespace session {

void toEngine(const Agent_LoginRequest &request, LoginRecord &record)
{
    const QString *texts[6] = {&request.text1, &request.text2, &request.text3,
                               &request.text4, &request.text5, &request.text6};
    record.info = ZS_LoginInfo{};
    record.info.number1 = request.number1;
    for (int k = 0; k < 6; ++k) {
        tq::writeField(record.buffers[k], *texts[k]);
        record.info.text[k] = record.buffers[k];
    }
}

ZS_PersonInfo toEngine(const Agent_PersonInfo &info)
{
    ZS_PersonInfo record{};
    record.number1 = info.number1;
    record.number2 = info.number2;
    record.number3 = info.number3;
    tq::writeField(record.text1, info.text1);
    tq::writeField(record.text2, info.text2);
    tq::writeField(record.text3, info.text3);
    return record;
}

Agent_PersonInfo fromEngine(const ZS_PersonInfo &info)
{
    Agent_PersonInfo r;
    r.number1 = info.number1;
    r.number2 = info.number2;
    r.number3 = info.number3;
    r.text1 = tq::readField(info.text1);
    r.text2 = tq::readField(info.text2);
    r.text3 = tq::readField(info.text3);
    return r;
}

Agent_PersonState fromEngine(const ZS_PersonState &state)
{
    Agent_PersonState r;
    r.text1 = tq::readField(state.text1);
    r.text2 = tq::readField(state.text2);
    r.text3 = tq::readField(state.text3);
    r.text4 = tq::readField(state.text4);
    r.number1 = state.number1;
    r.number2 = state.number2;
    r.number3 = state.number3;
    r.number4 = state.number4;
    return r;
}

} // namespace session
