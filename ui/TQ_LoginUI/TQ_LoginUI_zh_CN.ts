<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LoginWindow</name>
    <message>
        <source>Solvane – Log in</source>
        <translation>Solvane – 登录</translation>
    </message>
    <message>
        <source>Solvane</source>
        <translation>Solvane</translation>
    </message>
    <message>
        <source>Log in with your enterprise account.</source>
        <translation>使用您的企业账号登录。</translation>
    </message>
    <message>
        <source>e.g. alice</source>
        <translation>例如 alice</translation>
    </message>
    <message>
        <source>&amp;Account</source>
        <translation>账号(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Password</source>
        <translation>密码(&amp;P)</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation>端口(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Environment</source>
        <translation>环境(&amp;E)</translation>
    </message>
    <message>
        <source>Add&amp;ress</source>
        <translation>地址(&amp;R)</translation>
    </message>
    <message>
        <source>Takes effect at the next start.</source>
        <translation>下次启动时生效。</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>Log in</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>The server did not accept the login details. Check the port.</source>
        <translation>服务器不接受登录信息，请检查端口。</translation>
    </message>
    <message>
        <source>Check the account and the password.</source>
        <translation>请检查账号和密码。</translation>
    </message>
    <message>
        <source>There is no such account on this server.</source>
        <translation>此服务器上没有该账号。</translation>
    </message>
    <message>
        <source>The server did not answer. Check the address and the port.</source>
        <translation>服务器没有响应，请检查地址和端口。</translation>
    </message>
    <message>
        <source>Check the network connection.</source>
        <translation>请检查网络连接。</translation>
    </message>
    <message>
        <source>Enter your account.</source>
        <translation>请输入账号。</translation>
    </message>
    <message>
        <source>Enter your password.</source>
        <translation>请输入密码。</translation>
    </message>
    <message>
        <source>Enter the server address.</source>
        <translation>请输入服务器地址。</translation>
    </message>
    <message>
        <source>Enter a port from 1 to 65535.</source>
        <translation>请输入 1 到 65535 之间的端口。</translation>
    </message>
    <message>
        <source>Logging in…</source>
        <translation>正在登录…</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>登录失败：%1</translation>
    </message>
    <message>
        <source>You were logged out: %1</source>
        <translation>您已退出登录：%1</translation>
    </message>
</context>
</TS>
