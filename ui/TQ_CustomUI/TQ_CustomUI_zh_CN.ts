<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>TQ_Util</name>
    <message>
        <source>success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>not initialized</source>
        <translation>未初始化</translation>
    </message>
    <message>
        <source>invalid argument</source>
        <translation>参数无效</translation>
    </message>
    <message>
        <source>not logged in</source>
        <translation>未登录</translation>
    </message>
    <message>
        <source>network error</source>
        <translation>网络错误</translation>
    </message>
    <message>
        <source>timed out</source>
        <translation>超时</translation>
    </message>
    <message>
        <source>busy</source>
        <translation>忙</translation>
    </message>
    <message>
        <source>wrong password</source>
        <translation>密码错误</translation>
    </message>
    <message>
        <source>no such user</source>
        <translation>用户不存在</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>not supported</source>
        <translation>不支持</translation>
    </message>
    <message>
        <source>bad request</source>
        <translation>请求无效</translation>
    </message>
    <message>
        <source>unauthorized</source>
        <translation>未授权</translation>
    </message>
    <message>
        <source>forbidden</source>
        <translation>禁止访问</translation>
    </message>
    <message>
        <source>request timeout</source>
        <translation>请求超时</translation>
    </message>
    <message>
        <source>busy here</source>
        <translation>对方忙</translation>
    </message>
    <message>
        <source>server error</source>
        <translation>服务器错误</translation>
    </message>
    <message>
        <source>declined</source>
        <translation>已拒绝</translation>
    </message>
</context>
<context>
    <name>TqEngineText</name>
    <message>
        <source>unknown error %1</source>
        <translation>未知错误 %1</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>正在连接…</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Connection failed</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>Signed in elsewhere</source>
        <translation>已在别处登录</translation>
    </message>
    <message>
        <source>Connection state %1</source>
        <translation>连接状态 %1</translation>
    </message>
</context>
<context>
    <name>TqMsgBox</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>TqPresence</name>
    <message>
        <source>Online</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>Busy</source>
        <translation>忙碌</translation>
    </message>
    <message>
        <source>Away</source>
        <translation>离开</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>离线</translation>
    </message>
    <message>
        <source>Busy (in a meeting)</source>
        <translation>忙碌（会议中）</translation>
    </message>
    <message>
        <source>Busy (in a call)</source>
        <translation>忙碌（通话中）</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>TqSession</name>
    <message>
        <source>Production</source>
        <translation>生产环境</translation>
    </message>
    <message>
        <source>Staging</source>
        <translation>预发布环境</translation>
    </message>
    <message>
        <source>Testing</source>
        <translation>测试环境</translation>
    </message>
    <message>
        <source>Your account has logged in on another device.</source>
        <translation>您的账号已在另一台设备上登录。</translation>
    </message>
    <message>
        <source>The server ended the session (%1).</source>
        <translation>服务器结束了会话（%1）。</translation>
    </message>
</context>
</TS>
