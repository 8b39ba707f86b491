#include "TQ_Util.h"

#include <QUuid>

namespace {

struct CodeText
{
    int code;
    const char *text;
};

// The engine's return codes (ZS_ERR_*) and callback reasons (ZS_REASON_*). Kept here by
// number so that this library does not depend on the engine's header.
constexpr CodeText kCodeTexts[] = {
    {0, "success"},          {1001, "not initialized"}, {1002, "invalid argument"},
    {1003, "not logged in"}, {1004, "network error"},   {1005, "timed out"},
    {1006, "busy"},          {1007, "wrong password"},  {1008, "no such user"},
    {1009, "not found"},     {1010, "not supported"},   {200, "success"},
    {400, "bad request"},    {401, "unauthorized"},     {403, "forbidden"},
    {404, "not found"},      {408, "request timeout"},  {486, "busy here"},
    {500, "server error"},   {603, "declined"},
};

} // namespace

QString TQ_Util::GetSDKErrMsgById(int code)
{
    for (const CodeText &entry : kCodeTexts) {
        if (entry.code == code)
            return QString::fromLatin1(entry.text);
    }
    return QStringLiteral("unknown error %1").arg(code);
}

QString TQ_Util::createUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}
