// Session requests: presence and personal information.

#include "Engine.h"

using namespace zssim;

extern "C" {

int PublishPresence_TQ(unsigned int *matchKey, int type, int subtype, const char *userdata)
{
    Request call("PublishPresence_TQ");
    call.arg(type).arg(subtype).text(userdata);
    const unsigned int key = call.issueKey(matchKey);
    if (call.accepted()) {
        Control::withServer([&](ServerModel &server) {
            server.presence[server.currentUser]
                = ServerModel::Presence {type, subtype, QByteArray(userdata ? userdata : "")};
        });
    }
    call.answer(
        [key] { invoke(&ZS_GeneralCallBack::onPublishPresence, key, int(ZS_REASON_SUCCESS)); });
    return call.result();
}

int SetPersonInfo(unsigned int *matchKey, const ZS_PersonInfo *info)
{
    Request call("SetPersonInfo");
    call.record(info);
    const unsigned int key = call.issueKey(matchKey);
    if (!info) {
        call.answer([key] {
            invoke(&ZS_GeneralCallBack::onSetPersonInfo, key, int(ZS_REASON_BAD_REQUEST), 0ULL);
        });
        return call.result();
    }
    unsigned long long version = 0;
    if (call.accepted()) {
        Control::withServer([&](ServerModel &server) {
            server.personInfo[server.currentUser]
                = QByteArray(reinterpret_cast<const char *>(info), sizeof *info);
            version = server.personInfoVersion++;
        });
    }
    call.answer([key, version] {
        invoke(&ZS_GeneralCallBack::onSetPersonInfo, key, int(ZS_REASON_SUCCESS), version);
    });
    return call.result();
}

int GetPersonInfo(unsigned int *matchKey, const char *username)
{
    Request call("GetPersonInfo");
    call.text(username);
    const unsigned int key = call.issueKey(matchKey);
    QByteArray stored;
    Control::withServer([&](ServerModel &server) {
        stored = server.personInfo.value(QString::fromUtf8(username ? username : ""));
    });
    if (stored.size() != int(sizeof(ZS_PersonInfo))) {
        call.answer([key] {
            invoke(&ZS_GeneralCallBack::onGetPersonInfo, key, int(ZS_REASON_NOT_FOUND),
                   static_cast<const ZS_PersonInfo *>(nullptr));
        });
        return call.result();
    }
    std::vector<ZS_PersonInfo> record(1);
    std::memcpy(static_cast<void *>(record.data()), stored.constData(), sizeof(ZS_PersonInfo));
    call.answer([key, records = callbackRecords(std::move(record))] {
        invoke(&ZS_GeneralCallBack::onGetPersonInfo, key, int(ZS_REASON_SUCCESS),
               static_cast<const ZS_PersonInfo *>(records->data()));
        scribble(*records);
    });
    return call.result();
}

} // extern "C"
