<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ContactListModel</name>
    <message>
        <source>%1 (%2)
%3</source>
        <translation>%1（%2）
%3</translation>
    </message>
</context>
<context>
    <name>EditProfileDialog</name>
    <message>
        <source>Edit your profile</source>
        <translation>编辑个人资料</translation>
    </message>
    <message>
        <source>What others see under your name</source>
        <translation>显示在您名字下方的内容</translation>
    </message>
    <message>
        <source>Display &amp;name</source>
        <translation>显示名称(&amp;N)</translation>
    </message>
    <message>
        <source>Short n&amp;umber</source>
        <translation>短号(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Signature</source>
        <translation>个性签名(&amp;S)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The display name is too long.</source>
        <translation>显示名称过长。</translation>
    </message>
    <message>
        <source>The short number is too long.</source>
        <translation>短号过长。</translation>
    </message>
    <message>
        <source>The signature is too long.</source>
        <translation>个性签名过长。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Solvane</source>
        <translation>Solvane</translation>
    </message>
    <message>
        <source>Profile saved (version %1).</source>
        <translation>个人资料已保存（版本 %1）。</translation>
    </message>
    <message>
        <source>The profile was not saved: %1</source>
        <translation>个人资料未保存：%1</translation>
    </message>
    <message>
        <source>Presence not changed: %1</source>
        <translation>状态未更改：%1</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Edit your name, short number and signature</source>
        <translation>编辑您的名称、短号和个性签名</translation>
    </message>
    <message>
        <source>The connection to the server was lost. Reconnecting…</source>
        <translation>与服务器的连接已断开，正在重新连接…</translation>
    </message>
    <message>
        <source>Search contacts by name, account or number</source>
        <translation>按名称、账号或号码搜索联系人</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>The suite&apos;s features</source>
        <translation>套件的全部功能</translation>
    </message>
    <message>
        <source>Log out</source>
        <translation>退出登录</translation>
    </message>
    <message>
        <source>&amp;Client</source>
        <translation>客户端(&amp;C)</translation>
    </message>
    <message>
        <source>Edit &amp;profile…</source>
        <translation>编辑个人资料(&amp;P)…</translation>
    </message>
    <message>
        <source>&amp;Apps…</source>
        <translation>应用(&amp;A)…</translation>
    </message>
    <message>
        <source>&amp;Refresh contacts</source>
        <translation>刷新联系人(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Log out</source>
        <translation>退出登录(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出程序(&amp;Q)</translation>
    </message>
    <message>
        <source>Connected to %1 as %2</source>
        <translation>已连接到 %1，账号 %2</translation>
    </message>
    <message>
        <source>No signature yet</source>
        <translation>还没有个性签名</translation>
    </message>
    <message>
        <source>&amp;Call</source>
        <translation>语音通话(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Video call</source>
        <translation>视频通话(&amp;V)</translation>
    </message>
    <message>
        <source>View &amp;profile</source>
        <translation>查看资料(&amp;P)</translation>
    </message>
    <message>
        <source>Saving the profile…</source>
        <translation>正在保存个人资料…</translation>
    </message>
    <message>
        <source>No contacts yet.</source>
        <translation>还没有联系人。</translation>
    </message>
    <message>
        <source>No contact matches “%1”.</source>
        <translation>没有与“%1”匹配的联系人。</translation>
    </message>
    <message>
        <source>Reconnecting to %1…</source>
        <translation>正在重新连接到 %1…</translation>
    </message>
    <message>
        <source>%1 – reconnecting to %2…</source>
        <translation>%1 – 正在重新连接到 %2…</translation>
    </message>
</context>
<context>
    <name>ProfileDialog</name>
    <message>
        <source>Presence</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Short number</source>
        <translation>短号</translation>
    </message>
    <message>
        <source>Signature</source>
        <translation>个性签名</translation>
    </message>
    <message>
        <source>&amp;Call</source>
        <translation>语音通话(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Video call</source>
        <translation>视频通话(&amp;V)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Profile of %1</source>
        <translation>%1 的资料</translation>
    </message>
    <message>
        <source>—</source>
        <translation>—</translation>
    </message>
    <message>
        <source>Loading the profile…</source>
        <translation>正在加载资料…</translation>
    </message>
    <message>
        <source>The profile is not available: %1</source>
        <translation>无法获取资料：%1</translation>
    </message>
</context>
</TS>
