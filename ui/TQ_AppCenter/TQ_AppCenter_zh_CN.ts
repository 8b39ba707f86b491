<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AppCatalog</name>
    <message>
        <source>Messages</source>
        <translation>消息</translation>
    </message>
    <message>
        <source>Chats, files and voice notes</source>
        <translation>聊天、文件和语音消息</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>群组</translation>
    </message>
    <message>
        <source>Group chats and their members</source>
        <translation>群聊及其成员</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>通话</translation>
    </message>
    <message>
        <source>Voice and video calls with your contacts</source>
        <translation>与联系人进行语音和视频通话</translation>
    </message>
    <message>
        <source>Conferences</source>
        <translation>多方通话</translation>
    </message>
    <message>
        <source>Calls with several people at once</source>
        <translation>同时与多人通话</translation>
    </message>
    <message>
        <source>Meetings</source>
        <translation>会议</translation>
    </message>
    <message>
        <source>Scheduled meetings and their invitations</source>
        <translation>预约会议及会议邀请</translation>
    </message>
    <message>
        <source>Whiteboard</source>
        <translation>白板</translation>
    </message>
    <message>
        <source>Draw together in real time</source>
        <translation>实时共同绘图</translation>
    </message>
    <message>
        <source>Room video</source>
        <translation>视频会议室</translation>
    </message>
    <message>
        <source>Video rooms for teams</source>
        <translation>团队视频会议室</translation>
    </message>
    <message>
        <source>%1
%2</source>
        <translation>%1
%2</translation>
    </message>
    <message>
        <source>%1 (coming later)
%2</source>
        <translation>%1（即将推出）
%2</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>打开%1</translation>
    </message>
    <message>
        <source>Coming later</source>
        <translation>即将推出</translation>
    </message>
    <message>
        <source>%1 is not in this version yet.</source>
        <translation>此版本尚未包含%1。</translation>
    </message>
</context>
<context>
    <name>TQ_AppCenter</name>
    <message>
        <source>Apps – Solvane</source>
        <translation>应用 – Solvane</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Double-click a feature to open it. Those marked &quot;coming later&quot; are not in this version yet.</source>
        <translation>双击功能即可打开。标为“即将推出”的功能尚未包含在此版本中。</translation>
    </message>
</context>
</TS>
