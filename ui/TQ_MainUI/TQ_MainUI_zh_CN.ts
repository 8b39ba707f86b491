<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ChatState</name>
    <message>
        <source>The message is too long to send. Please split it up.</source>
        <translation>消息太长，无法发送。请分成几条发送。</translation>
    </message>
    <message>
        <source>“%1” cannot be read.</source>
        <translation>无法读取“%1”。</translation>
    </message>
    <message>
        <source>“%1” is no longer there and cannot be sent again.</source>
        <translation>“%1”已不存在，无法重新发送。</translation>
    </message>
    <message>
        <source>There is no folder to save “%1” in.</source>
        <translation>没有可用于保存“%1”的文件夹。</translation>
    </message>
    <message>
        <source>“%1” was not downloaded: %2</source>
        <translation>“%1”未能下载：%2</translation>
    </message>
    <message>
        <source>The message was not withdrawn: %1</source>
        <translation>消息未能撤回：%1</translation>
    </message>
    <message>
        <source>The message was not deleted: %1</source>
        <translation>消息未能删除：%1</translation>
    </message>
</context>
<context>
    <name>ChatText</name>
    <message>
        <source>[File] %1</source>
        <translation>[文件] %1</translation>
    </message>
    <message>
        <source>[Picture]</source>
        <translation>[图片]</translation>
    </message>
    <message>
        <source>[Voice note] %1</source>
        <translation>[语音] %1</translation>
    </message>
    <message>
        <source>[Voice note]</source>
        <translation>[语音]</translation>
    </message>
    <message>
        <source>[Link] %1</source>
        <translation>[链接] %1</translation>
    </message>
    <message>
        <source>Sending…</source>
        <translation>发送中…</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>已读</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>已发送</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>Not sent</source>
        <translation>未发送</translation>
    </message>
    <message>
        <source>Not sent: %1</source>
        <translation>未发送：%1</translation>
    </message>
    <message>
        <source>You withdrew a message</source>
        <translation>你撤回了一条消息</translation>
    </message>
    <message>
        <source>%1 withdrew a message</source>
        <translation>%1 撤回了一条消息</translation>
    </message>
    <message>
        <source>Yesterday %1</source>
        <translation>昨天 %1</translation>
    </message>
    <message>
        <source>%1 B</source>
        <translation>%1 B</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1″</source>
        <translation>%1″</translation>
    </message>
    <message>
        <source>%1′%2″</source>
        <translation>%1′%2″</translation>
    </message>
    <message>
        <source>[A message this version cannot show]</source>
        <translation>[此版本无法显示的消息]</translation>
    </message>
</context>
<context>
    <name>ChatWindow</name>
    <message>
        <source>Pictures (%1)</source>
        <translation>图片 (%1)</translation>
    </message>
    <message>
        <source>Choose a conversation on the left, or right-click a contact and choose “Send message”.</source>
        <translation>请在左侧选择一个会话，或右键单击联系人并选择“发消息”。</translation>
    </message>
    <message>
        <source>File…</source>
        <translation>文件…</translation>
    </message>
    <message>
        <source>Send a file</source>
        <translation>发送文件</translation>
    </message>
    <message>
        <source>Picture…</source>
        <translation>图片…</translation>
    </message>
    <message>
        <source>Send a picture</source>
        <translation>发送图片</translation>
    </message>
    <message>
        <source>Voice note</source>
        <translation>语音消息</translation>
    </message>
    <message>
        <source>Record a voice note</source>
        <translation>录制语音消息</translation>
    </message>
    <message>
        <source>A voice note cannot be recorded now.</source>
        <translation>现在无法录制语音消息。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Send voice note</source>
        <translation>发送语音</translation>
    </message>
    <message>
        <source>Write a message. Enter sends, Shift+Enter starts a new line.</source>
        <translation>输入消息。按 Enter 发送，按 Shift+Enter 换行。</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <source>Copy &amp;address</source>
        <translation>复制地址(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Send again</source>
        <translation>重新发送(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Cancel the transfer</source>
        <translation>取消传输(&amp;C)</translation>
    </message>
    <message>
        <source>Show in &amp;folder</source>
        <translation>在文件夹中显示(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Withdraw</source>
        <translation>撤回(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>Starting the recording…</source>
        <translation>正在开始录音…</translation>
    </message>
    <message>
        <source>● Recording for %1 %2:%3</source>
        <translation>● 正在为 %1 录音 %2:%3</translation>
    </message>
    <message>
        <source>Preparing the voice note…</source>
        <translation>正在准备语音消息…</translation>
    </message>
</context>
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
    <name>GroupCreateDialog</name>
    <message>
        <source>&amp;Public: anyone may find it and ask to join</source>
        <translation>公开(&amp;P)：任何人都可以找到并申请加入</translation>
    </message>
    <message>
        <source>New group</source>
        <translation>新建群组</translation>
    </message>
    <message>
        <source>What the group is called</source>
        <translation>群组的名称</translation>
    </message>
    <message>
        <source>What the group is about (optional)</source>
        <translation>群组的简介（可选）</translation>
    </message>
    <message>
        <source>P&amp;rivate: by invitation only</source>
        <translation>私有(&amp;R)：仅限邀请加入</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>创建</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>名称(&amp;N)：</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>简介(&amp;D)：</translation>
    </message>
    <message>
        <source>Who may join:</source>
        <translation>谁可以加入：</translation>
    </message>
    <message>
        <source>Invite contacts</source>
        <translation>邀请联系人</translation>
    </message>
    <message>
        <source>The name is too long.</source>
        <translation>名称太长。</translation>
    </message>
    <message>
        <source>The description is too long.</source>
        <translation>简介太长。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>GroupInviteDialog</name>
    <message>
        <source>Invite to “%1”</source>
        <translation>邀请加入“%1”</translation>
    </message>
    <message>
        <source>Invite</source>
        <translation>邀请</translation>
    </message>
    <message>
        <source>Everyone in your contacts is in the group already.</source>
        <translation>您的联系人都已在群组中。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>GroupMembersPanel</name>
    <message>
        <source>Invite…</source>
        <translation>邀请…</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>禁言</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移出</translation>
    </message>
    <message>
        <source>Leave the group</source>
        <translation>退出群组</translation>
    </message>
    <message>
        <source>Dismiss the group…</source>
        <translation>解散群组…</translation>
    </message>
    <message>
        <source>Dismiss the group</source>
        <translation>解散群组</translation>
    </message>
    <message>
        <source>Dismiss “%1”? Its members will no longer be able to talk in it.</source>
        <translation>解散“%1”？其成员将无法再在群内交流。</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>解散</translation>
    </message>
    <message>
        <source>Members (%1)</source>
        <translation>成员 (%1)</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>解除禁言</translation>
    </message>
</context>
<context>
    <name>GroupPeoplePicker</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>GroupSearchDialog</name>
    <message>
        <source>Ask to join</source>
        <translation>申请加入</translation>
    </message>
    <message>
        <source>Find a public group</source>
        <translation>查找公开群组</translation>
    </message>
    <message>
        <source>A group&apos;s name or id</source>
        <translation>群组的名称或编号</translation>
    </message>
    <message>
        <source>By name</source>
        <translation>按名称</translation>
    </message>
    <message>
        <source>By id</source>
        <translation>按编号</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>No public group matches.</source>
        <translation>没有匹配的公开群组。</translation>
    </message>
    <message>
        <source>Choose a group and ask to join.</source>
        <translation>选择一个群组并申请加入。</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>正在搜索…</translation>
    </message>
</context>
<context>
    <name>GroupState</name>
    <message>
        <source>owner</source>
        <translation>群主</translation>
    </message>
    <message>
        <source>admin</source>
        <translation>管理员</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>muted</source>
        <translation>已禁言</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>, </source>
        <translation>，</translation>
    </message>
    <message>
        <source>%1 invites you to “%2”</source>
        <translation>%1 邀请您加入“%2”</translation>
    </message>
    <message>
        <source>%1 asks to join “%2”</source>
        <translation>%1 申请加入“%2”</translation>
    </message>
    <message>
        <source>: %1</source>
        <translation>：%1</translation>
    </message>
    <message>
        <source>You</source>
        <translation>您</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The group was not created</source>
        <translation>群组未创建</translation>
    </message>
    <message>
        <source>You created the group “%1”.</source>
        <translation>您创建了群组“%1”。</translation>
    </message>
    <message>
        <source>The group was not dismissed</source>
        <translation>群组未解散</translation>
    </message>
    <message>
        <source>You dismissed the group.</source>
        <translation>您解散了群组。</translation>
    </message>
    <message>
        <source>You did not leave the group</source>
        <translation>您未能退出群组</translation>
    </message>
    <message>
        <source>You left the group.</source>
        <translation>您退出了群组。</translation>
    </message>
    <message>
        <source>The request to join was not sent</source>
        <translation>加入申请未发送</translation>
    </message>
    <message>
        <source>Your request to join “%1” was sent.</source>
        <translation>已发送加入“%1”的申请。</translation>
    </message>
    <message>
        <source>The answer to %1 was not sent</source>
        <translation>对 %1 的答复未发送</translation>
    </message>
    <message>
        <source>The invitation was not sent</source>
        <translation>邀请未发送</translation>
    </message>
    <message>
        <source>Invitation sent.</source>
        <translation>邀请已发送。</translation>
    </message>
    <message>
        <source>The answer to the invitation was not sent</source>
        <translation>对邀请的答复未发送</translation>
    </message>
    <message>
        <source>Your groups were not loaded</source>
        <translation>未能加载您的群组</translation>
    </message>
    <message>
        <source>The members were not loaded</source>
        <translation>未能加载成员</translation>
    </message>
    <message>
        <source>%1 was not removed</source>
        <translation>未能移出 %1</translation>
    </message>
    <message>
        <source>You removed %1 from the group.</source>
        <translation>您将 %1 移出了群组。</translation>
    </message>
    <message>
        <source>%1 was not muted</source>
        <translation>未能禁言 %1</translation>
    </message>
    <message>
        <source>%1 was not unmuted</source>
        <translation>未能解除 %1 的禁言</translation>
    </message>
    <message>
        <source>You muted %1.</source>
        <translation>您禁言了 %1。</translation>
    </message>
    <message>
        <source>You let %1 speak again.</source>
        <translation>您解除了 %1 的禁言。</translation>
    </message>
    <message>
        <source>The search failed</source>
        <translation>搜索失败</translation>
    </message>
    <message>
        <source>%1 joined the group.</source>
        <translation>%1 加入了群组。</translation>
    </message>
    <message>
        <source>%1 asks to join “%2”.</source>
        <translation>%1 申请加入“%2”。</translation>
    </message>
    <message>
        <source>%1 invites you to “%2”.</source>
        <translation>%1 邀请您加入“%2”。</translation>
    </message>
    <message>
        <source>%1 dismissed the group.</source>
        <translation>%1 解散了群组。</translation>
    </message>
    <message>
        <source>%1 left the group.</source>
        <translation>%1 退出了群组。</translation>
    </message>
    <message>
        <source>%1 removed you from the group.</source>
        <translation>%1 将您移出了群组。</translation>
    </message>
    <message>
        <source>%1 removed %2 from the group.</source>
        <translation>%1 将 %2 移出了群组。</translation>
    </message>
    <message>
        <source>You may join “%1”.</source>
        <translation>您可以加入“%1”了。</translation>
    </message>
    <message>
        <source>Your request to join “%1” was refused.</source>
        <translation>您加入“%1”的申请被拒绝。</translation>
    </message>
    <message>
        <source>%1 declined the invitation.</source>
        <translation>%1 谢绝了邀请。</translation>
    </message>
    <message>
        <source>%1 changed the group&apos;s details.</source>
        <translation>%1 修改了群组资料。</translation>
    </message>
    <message>
        <source>%1 is now an admin.</source>
        <translation>%1 成为管理员。</translation>
    </message>
    <message>
        <source>%1 is no longer an admin.</source>
        <translation>%1 不再是管理员。</translation>
    </message>
    <message>
        <source>You joined the group “%1”.</source>
        <translation>您加入了群组“%1”。</translation>
    </message>
    <message>
        <source>%1 muted %2.</source>
        <translation>%1 禁言了 %2。</translation>
    </message>
    <message>
        <source>%1 let %2 speak again.</source>
        <translation>%1 解除了 %2 的禁言。</translation>
    </message>
</context>
<context>
    <name>GroupsPanel</name>
    <message>
        <source>Accept</source>
        <translation>接受</translation>
    </message>
    <message>
        <source>Refuse</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>You are in no group yet. Create one, or find a public group.</source>
        <translation>您还没有加入任何群组。可以新建一个，或查找公开群组。</translation>
    </message>
    <message>
        <source>Waiting for your answer</source>
        <translation>等待您答复</translation>
    </message>
    <message>
        <source>New group…</source>
        <translation>新建群组…</translation>
    </message>
    <message>
        <source>Find a group…</source>
        <translation>查找群组…</translation>
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
    <message>
        <source>Messages received while you were offline: %1</source>
        <translation>离线期间收到的消息：%1 条</translation>
    </message>
    <message>
        <source>No conversations yet. Right-click a contact to send a message.</source>
        <translation>还没有会话。右键单击联系人即可发消息。</translation>
    </message>
    <message>
        <source>Contacts</source>
        <translation>联系人</translation>
    </message>
    <message>
        <source>Chats</source>
        <translation>会话</translation>
    </message>
    <message>
        <source>Send &amp;message</source>
        <translation>发消息(&amp;M)</translation>
    </message>
    <message>
        <source>Chats (%1)</source>
        <translation>会话 (%1)</translation>
    </message>
    <message>
        <source>Conferences</source>
        <translation>会议</translation>
    </message>
    <message>
        <source>Your conferences: current, scheduled and past</source>
        <translation>你的会议：当前、预约和历史</translation>
    </message>
    <message>
        <source>C&amp;onferences…</source>
        <translation>会议(&amp;O)…</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>群组</translation>
    </message>
    <message>
        <source>Groups (%1)</source>
        <translation>群组 (%1)</translation>
    </message>
</context>
<context>
    <name>MessageDelegate</name>
    <message>
        <source>Retry</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>%1 · Downloaded</source>
        <translation>%1 · 已下载</translation>
    </message>
    <message>
        <source>Picture not loaded</source>
        <translation>图片未加载</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>图片</translation>
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
<context>
    <name>VoiceRecorder</name>
    <message>
        <source>The recording did not start: %1</source>
        <translation>录音未能开始：%1</translation>
    </message>
    <message>
        <source>The voice note was too short to send.</source>
        <translation>语音消息太短，未发送。</translation>
    </message>
</context>
</TS>
