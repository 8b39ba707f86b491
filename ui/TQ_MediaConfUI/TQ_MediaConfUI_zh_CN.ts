<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>TqCallHistory</name>
    <message>
        <source>%1 · %2 · %3</source>
        <translation>%1 · %2 · %3</translation>
    </message>
</context>
<context>
    <name>TqCallStatsDialog</name>
    <message>
        <source>Call id</source>
        <translation>通话标识</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>媒体</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Remote video</source>
        <translation>对方视频</translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation>麦克风</translation>
    </message>
    <message>
        <source>Speaker volume</source>
        <translation>扬声器音量</translation>
    </message>
    <message>
        <source>Call statistics</source>
        <translation>通话统计</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>—</source>
        <translation>—</translation>
    </message>
    <message>
        <source>%1 × %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>Muted</source>
        <translation>已静音</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>TqCallText</name>
    <message>
        <source>No call</source>
        <translation>无通话</translation>
    </message>
    <message>
        <source>Calling…</source>
        <translation>正在呼叫…</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>正在连接…</translation>
    </message>
    <message>
        <source>Ringing…</source>
        <translation>对方振铃中…</translation>
    </message>
    <message>
        <source>Answering…</source>
        <translation>正在接听…</translation>
    </message>
    <message>
        <source>Incoming call</source>
        <translation>来电</translation>
    </message>
    <message>
        <source>In call</source>
        <translation>通话中</translation>
    </message>
    <message>
        <source>Call ended</source>
        <translation>通话已结束</translation>
    </message>
    <message>
        <source>Call ended: the number was not found</source>
        <translation>通话已结束：号码不存在</translation>
    </message>
    <message>
        <source>Call ended: no answer</source>
        <translation>通话已结束：无人接听</translation>
    </message>
    <message>
        <source>Call ended: busy</source>
        <translation>通话已结束：对方忙</translation>
    </message>
    <message>
        <source>Call ended: declined</source>
        <translation>通话已结束：已拒绝</translation>
    </message>
    <message>
        <source>The call could not be placed</source>
        <translation>无法发起呼叫</translation>
    </message>
    <message>
        <source>Call ended (code %1)</source>
        <translation>通话已结束（代码 %1）</translation>
    </message>
    <message>
        <source>Video call</source>
        <translation>视频通话</translation>
    </message>
    <message>
        <source>Voice call</source>
        <translation>语音通话</translation>
    </message>
    <message>
        <source>Outgoing, %1</source>
        <translation>呼出，%1</translation>
    </message>
    <message>
        <source>Incoming, %1</source>
        <translation>呼入，%1</translation>
    </message>
    <message>
        <source>Outgoing, not answered</source>
        <translation>呼出，未接通</translation>
    </message>
    <message>
        <source>Incoming, declined</source>
        <translation>呼入，已拒绝</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>未接来电</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
</context>
<context>
    <name>TqConfDirectory</name>
    <message>
        <source>Loading the conferences</source>
        <translation>加载会议列表</translation>
    </message>
    <message>
        <source>Creating the conference</source>
        <translation>创建会议</translation>
    </message>
    <message>
        <source>Changing the conference</source>
        <translation>修改会议</translation>
    </message>
    <message>
        <source>Cancelling the conference</source>
        <translation>取消会议</translation>
    </message>
</context>
<context>
    <name>TqConfEditDialog</name>
    <message>
        <source> min</source>
        <translation> 分钟</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>立即</translation>
    </message>
    <message>
        <source>Scheduled</source>
        <translation>预约</translation>
    </message>
    <message>
        <source>Video conference</source>
        <translation>视频会议</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>创建</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>New conference</source>
        <translation>新建会议</translation>
    </message>
    <message>
        <source>Change conference</source>
        <translation>修改会议</translation>
    </message>
    <message>
        <source>What the conference is called</source>
        <translation>会议名称</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>可选</translation>
    </message>
    <message>
        <source>Until ended</source>
        <translation>直到结束</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Account of someone else</source>
        <translation>其他人的账号</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>before the start</source>
        <translation>开始前</translation>
    </message>
    <message>
        <source>before the end</source>
        <translation>结束前</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Topic</source>
        <translation>主题</translation>
    </message>
    <message>
        <source>When</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Remind</source>
        <translation>提醒</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Host password</source>
        <translation>主持人密码</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>成员</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>A scheduled conference starts in the future.</source>
        <translation>预约会议的开始时间须晚于现在。</translation>
    </message>
</context>
<context>
    <name>TqConfListModel</name>
    <message>
        <source>%1
Topic: %2</source>
        <translation>%1
主题：%2</translation>
    </message>
    <message>
        <source>%1 (video)</source>
        <translation>%1（视频）</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>Conference</source>
        <translation>会议</translation>
    </message>
    <message>
        <source>When</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>主持人</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>成员</translation>
    </message>
</context>
<context>
    <name>TqConfListWindow</name>
    <message>
        <source>Previous</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>New conference…</source>
        <translation>新建会议…</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>加入</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>编辑…</translation>
    </message>
    <message>
        <source>Cancel conference</source>
        <translation>取消会议</translation>
    </message>
    <message>
        <source>Conferences</source>
        <translation>会议</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>当前</translation>
    </message>
    <message>
        <source>Scheduled</source>
        <translation>预约</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>正在加载…</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>第 %1 页</translation>
    </message>
    <message>
        <source>No past conferences.</source>
        <translation>没有历史会议。</translation>
    </message>
    <message>
        <source>No conferences. Create one with “New conference”.</source>
        <translation>没有会议。可点击“新建会议”创建。</translation>
    </message>
</context>
<context>
    <name>TqConfMemberModel</name>
    <message>
        <source>%1 (you)</source>
        <translation>%1（你）</translation>
    </message>
    <message>
        <source>Sharing</source>
        <translation>共享中</translation>
    </message>
    <message>
        <source>Member</source>
        <translation>成员</translation>
    </message>
    <message>
        <source>Role</source>
        <translation>角色</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation>麦克风</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>摄像头</translation>
    </message>
    <message>
        <source>Screen</source>
        <translation>屏幕</translation>
    </message>
</context>
<context>
    <name>TqConfRoom</name>
    <message>
        <source>The host turned your microphone off.</source>
        <translation>主持人关闭了你的麦克风。</translation>
    </message>
    <message>
        <source>The host allows your microphone again.</source>
        <translation>主持人已允许你打开麦克风。</translation>
    </message>
    <message>
        <source>The host turned your camera off.</source>
        <translation>主持人关闭了你的摄像头。</translation>
    </message>
    <message>
        <source>The host allows your camera again.</source>
        <translation>主持人已允许你打开摄像头。</translation>
    </message>
    <message>
        <source>Changing a member&apos;s microphone or camera</source>
        <translation>更改成员的麦克风或摄像头</translation>
    </message>
    <message>
        <source>Removing a member</source>
        <translation>移除成员</translation>
    </message>
    <message>
        <source>Removing %1</source>
        <translation>移除 %1</translation>
    </message>
    <message>
        <source>Handing over the chair</source>
        <translation>移交主持人</translation>
    </message>
    <message>
        <source>Starting the recording</source>
        <translation>开始录制</translation>
    </message>
    <message>
        <source>Stopping the recording</source>
        <translation>停止录制</translation>
    </message>
    <message>
        <source>Changing your microphone, camera or screen sharing</source>
        <translation>更改你的麦克风、摄像头或屏幕共享</translation>
    </message>
    <message>
        <source>Ending the conference</source>
        <translation>结束会议</translation>
    </message>
</context>
<context>
    <name>TqConfText</name>
    <message>
        <source>Ended %1</source>
        <translation>结束于 %1</translation>
    </message>
    <message>
        <source>Since %1</source>
        <translation>开始于 %1</translation>
    </message>
    <message>
        <source>Starts %1</source>
        <translation>%1 开始</translation>
    </message>
    <message>
        <source>Not started</source>
        <translation>未开始</translation>
    </message>
    <message>
        <source>In progress</source>
        <translation>进行中</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>已结束</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>主持人</translation>
    </message>
    <message>
        <source>Attendee</source>
        <translation>参会人</translation>
    </message>
    <message>
        <source>Invited</source>
        <translation>已邀请</translation>
    </message>
    <message>
        <source>In conference</source>
        <translation>在会中</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>已离开</translation>
    </message>
    <message>
        <source>Declined</source>
        <translation>已拒绝</translation>
    </message>
    <message>
        <source>Removed</source>
        <translation>已移除</translation>
    </message>
    <message>
        <source>Muted by host</source>
        <translation>被主持人静音</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>Off by host</source>
        <translation>被主持人关闭</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1失败：%2</translation>
    </message>
</context>
<context>
    <name>TqConfUi</name>
    <message>
        <source>The conference was changed.</source>
        <translation>会议已修改。</translation>
    </message>
    <message>
        <source>The conference was cancelled.</source>
        <translation>会议已取消。</translation>
    </message>
    <message>
        <source>%1 cancelled “%2”.</source>
        <translation>%1 取消了“%2”。</translation>
    </message>
    <message>
        <source>%1 changed “%2”: it starts %3.</source>
        <translation>%1 修改了“%2”：%3 开始。</translation>
    </message>
    <message>
        <source>%1 scheduled “%2” for %3.</source>
        <translation>%1 预约了“%2”，%3 开始。</translation>
    </message>
    <message numerus="yes">
        <source>“%1” starts in %n minute(s).</source>
        <translation>
            <numerusform>“%1”将在 %n 分钟后开始。</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” has ended.</source>
        <translation>“%1”已结束。</translation>
    </message>
    <message>
        <source>The conference is scheduled; its members have been told.</source>
        <translation>会议已预约，已通知成员。</translation>
    </message>
    <message>
        <source>Video conference invitation</source>
        <translation>视频会议邀请</translation>
    </message>
    <message>
        <source>Conference invitation</source>
        <translation>会议邀请</translation>
    </message>
    <message>
        <source>%1 invites you to “%2”. Join now?</source>
        <translation>%1 邀请你参加“%2”。现在加入吗？</translation>
    </message>
    <message>
        <source>Conference password</source>
        <translation>会议密码</translation>
    </message>
    <message>
        <source>This conference needs a password:</source>
        <translation>此会议需要密码：</translation>
    </message>
    <message>
        <source>“%1” has started. Select it and press Join to take part.</source>
        <translation>“%1”已开始。选中它并点击“加入”即可参加。</translation>
    </message>
</context>
<context>
    <name>TqConfWindow</name>
    <message>
        <source>You left the conference.</source>
        <translation>你已离开会议。</translation>
    </message>
    <message>
        <source>The host ended the conference.</source>
        <translation>主持人结束了会议。</translation>
    </message>
    <message>
        <source>The conference ended: its time is up.</source>
        <translation>会议已结束：时间已到。</translation>
    </message>
    <message>
        <source>The conference ended: everybody left.</source>
        <translation>会议已结束：所有人都已离开。</translation>
    </message>
    <message>
        <source>The host removed you from the conference.</source>
        <translation>主持人将你移出了会议。</translation>
    </message>
    <message>
        <source>The password is not right.</source>
        <translation>密码不正确。</translation>
    </message>
    <message>
        <source>Joining</source>
        <translation>加入会议</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Make host</source>
        <translation>设为主持人</translation>
    </message>
    <message>
        <source>No recordings yet.</source>
        <translation>还没有录制。</translation>
    </message>
    <message>
        <source>Leave</source>
        <translation>离开</translation>
    </message>
    <message>
        <source>End for everybody</source>
        <translation>结束会议</translation>
    </message>
    <message numerus="yes">
        <source>The conference ends in %n minute(s).</source>
        <translation>
            <numerusform>会议将在 %n 分钟后结束。</numerusform>
        </translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>录制</translation>
    </message>
    <message>
        <source>Conference: %1</source>
        <translation>会议：%1</translation>
    </message>
    <message>
        <source>Joining…</source>
        <translation>正在加入…</translation>
    </message>
    <message>
        <source>Video conference</source>
        <translation>视频会议</translation>
    </message>
    <message>
        <source>Voice conference</source>
        <translation>语音会议</translation>
    </message>
    <message>
        <source>since %1</source>
        <translation>开始于 %1</translation>
    </message>
    <message>
        <source>you are the host</source>
        <translation>你是主持人</translation>
    </message>
    <message>
        <source>you are an attendee</source>
        <translation>你是参会人</translation>
    </message>
    <message>
        <source>recording</source>
        <translation>录制中</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>已结束</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>取消静音</translation>
    </message>
    <message>
        <source>Video off</source>
        <translation>关闭视频</translation>
    </message>
    <message>
        <source>Video on</source>
        <translation>打开视频</translation>
    </message>
    <message>
        <source>Stop sharing</source>
        <translation>停止共享</translation>
    </message>
    <message>
        <source>Share screen</source>
        <translation>共享屏幕</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>停止录制</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>录制</translation>
    </message>
    <message>
        <source>%1 · %2 · %3</source>
        <translation>%1 · %2 · %3</translation>
    </message>
    <message>
        <source>Recording…</source>
        <translation>正在录制…</translation>
    </message>
    <message numerus="yes">
        <source>Recordings: %n</source>
        <translation>
            <numerusform>录制文件：%n 个</numerusform>
        </translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>TqDeviceDialog</name>
    <message>
        <source>Audio and video devices</source>
        <translation>音视频设备</translation>
    </message>
    <message>
        <source>Format %1</source>
        <translation>格式 %1</translation>
    </message>
    <message>
        <source>%1 frames/s</source>
        <translation>%1 帧/秒</translation>
    </message>
    <message>
        <source>%1°</source>
        <translation>%1°</translation>
    </message>
    <message>
        <source>Detect camera</source>
        <translation>检测摄像头</translation>
    </message>
    <message>
        <source>Use this camera</source>
        <translation>使用此摄像头</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>摄像头</translation>
    </message>
    <message>
        <source>Camera number</source>
        <translation>摄像头编号</translation>
    </message>
    <message>
        <source>Capture format</source>
        <translation>采集格式</translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>旋转</translation>
    </message>
    <message>
        <source>Local video</source>
        <translation>本地视频</translation>
    </message>
    <message>
        <source>Speaker</source>
        <translation>扬声器</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Not detected yet</source>
        <translation>尚未检测</translation>
    </message>
    <message>
        <source>No camera found</source>
        <translation>未找到摄像头</translation>
    </message>
    <message>
        <source>Width to height %1</source>
        <translation>宽高比 %1</translation>
    </message>
</context>
<context>
    <name>TqDialWindow</name>
    <message>
        <source>Voice call</source>
        <translation>语音通话</translation>
    </message>
    <message>
        <source>Video call</source>
        <translation>视频通话</translation>
    </message>
    <message>
        <source>Dial</source>
        <translation>拨号</translation>
    </message>
    <message>
        <source>Number or user</source>
        <translation>号码或用户</translation>
    </message>
    <message>
        <source>Recent calls</source>
        <translation>最近通话</translation>
    </message>
</context>
<context>
    <name>TqInCallWindow</name>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Keypad</source>
        <translation>拨号盘</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Call</source>
        <translation>通话</translation>
    </message>
    <message>
        <source>Speaker</source>
        <translation>扬声器</translation>
    </message>
    <message>
        <source>Call with %1</source>
        <translation>与 %1 通话</translation>
    </message>
    <message>
        <source>Voice call</source>
        <translation>语音通话</translation>
    </message>
    <message>
        <source>Remote video %1 × %2</source>
        <translation>对方视频 %1 × %2</translation>
    </message>
    <message>
        <source>Video call: waiting for the picture…</source>
        <translation>视频通话：等待画面…</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>已发送：%1</translation>
    </message>
    <message>
        <source>Received: %1</source>
        <translation>已收到：%1</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>取消静音</translation>
    </message>
    <message>
        <source>Switching…</source>
        <translation>正在切换…</translation>
    </message>
    <message>
        <source>Switch to voice</source>
        <translation>切换为语音</translation>
    </message>
    <message>
        <source>Switch to video</source>
        <translation>切换为视频</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Hang up</source>
        <translation>挂断</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Switch to video?</source>
        <translation>切换为视频？</translation>
    </message>
    <message>
        <source>%1 asks to switch this call to video. Turn on your camera?</source>
        <translation>%1 请求将本次通话切换为视频。是否打开摄像头？</translation>
    </message>
</context>
<context>
    <name>TqIncomingCallWindow</name>
    <message>
        <source>Accept</source>
        <translation>接听</translation>
    </message>
    <message>
        <source>Decline</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>Incoming call</source>
        <translation>来电</translation>
    </message>
    <message>
        <source>Incoming video call</source>
        <translation>视频来电</translation>
    </message>
    <message>
        <source>Incoming voice call</source>
        <translation>语音来电</translation>
    </message>
</context>
<context>
    <name>TqInterphoneState</name>
    <message>
        <source>%1 is speaking.</source>
        <translation>%1 正在讲话。</translation>
    </message>
    <message>
        <source>The microphone was refused: %1</source>
        <translation>未能获得麦克风：%1</translation>
    </message>
    <message>
        <source>The setting was not changed: %1</source>
        <translation>设置未更改：%1</translation>
    </message>
</context>
<context>
    <name>TqInterphoneWindow</name>
    <message>
        <source>Interphone</source>
        <translation>对讲</translation>
    </message>
    <message>
        <source>&amp;Speak</source>
        <translation>发言(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Listen</source>
        <translation>收听(&amp;L)</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>成员</translation>
    </message>
    <message>
        <source>Starting the interphone…</source>
        <translation>正在发起对讲…</translation>
    </message>
    <message numerus="yes">
        <source>Your interphone · %n in it</source>
        <translation>
            <numerusform>您的对讲 · %n 人在线</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1&apos;s interphone · %n in it</source>
        <translation>
            <numerusform>%1 的对讲 · %n 人在线</numerusform>
        </translation>
    </message>
    <message>
        <source>The interphone could not be started (code %1).</source>
        <translation>无法发起对讲（代码 %1）。</translation>
    </message>
    <message>
        <source>The interphone has ended.</source>
        <translation>对讲已结束。</translation>
    </message>
    <message>
        <source>You are speaking</source>
        <translation>您正在讲话</translation>
    </message>
    <message>
        <source>%1 is speaking</source>
        <translation>%1 正在讲话</translation>
    </message>
    <message>
        <source>Nobody is speaking</source>
        <translation>无人讲话</translation>
    </message>
    <message>
        <source>Talking… release to stop</source>
        <translation>讲话中… 松开结束</translation>
    </message>
    <message>
        <source>Waiting for the microphone…</source>
        <translation>正在等待麦克风…</translation>
    </message>
    <message>
        <source>Hold to talk</source>
        <translation>按住说话</translation>
    </message>
    <message>
        <source>You may only listen in this interphone.</source>
        <translation>您在此对讲中只能收听。</translation>
    </message>
    <message>
        <source>You can talk once %1 lets go.</source>
        <translation>%1 松开后您即可讲话。</translation>
    </message>
    <message>
        <source>Hold the button or the space bar while you talk.</source>
        <translation>讲话时按住此按钮或空格键。</translation>
    </message>
    <message>
        <source>&amp;Leave</source>
        <translation>退出(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>Your settings</source>
        <translation>您的设置</translation>
    </message>
    <message>
        <source>Settings for %1</source>
        <translation>%1 的设置</translation>
    </message>
</context>
<context>
    <name>TqMeetingCreateWindow</name>
    <message>
        <source>&amp;Name</source>
        <translation>名称(&amp;N)</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>New meeting</source>
        <translation>新建会议</translation>
    </message>
    <message>
        <source>Voice meeting</source>
        <translation>语音会议</translation>
    </message>
    <message>
        <source>Video meeting</source>
        <translation>视频会议</translation>
    </message>
    <message>
        <source>Interphone (push to talk)</source>
        <translation>对讲（按住说话）</translation>
    </message>
    <message>
        <source>What the meeting is about</source>
        <translation>会议主题</translation>
    </message>
    <message>
        <source>&amp;Kind</source>
        <translation>类型(&amp;K)</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>成员</translation>
    </message>
    <message>
        <source>An interphone needs at least one other member.</source>
        <translation>对讲至少需要另一名成员。</translation>
    </message>
    <message>
        <source>Give the meeting a name.</source>
        <translation>请为会议命名。</translation>
    </message>
    <message>
        <source>You can invite people once the meeting is on.</source>
        <translation>会议开始后可以再邀请成员。</translation>
    </message>
    <message>
        <source>Members to invite: %1</source>
        <translation>将邀请的成员：%1</translation>
    </message>
</context>
<context>
    <name>TqMeetingInvitationWindow</name>
    <message>
        <source>Meeting invitation</source>
        <translation>会议邀请</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>接受</translation>
    </message>
    <message>
        <source>Refuse</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>invites you to a %1.</source>
        <translation>邀请您参加%1。</translation>
    </message>
    <message numerus="yes">
        <source>%n more waiting</source>
        <translation>
            <numerusform>还有 %n 个邀请</numerusform>
        </translation>
    </message>
    <message>
        <source>Invitation from %1</source>
        <translation>来自 %1 的邀请</translation>
    </message>
</context>
<context>
    <name>TqMeetingInviteDialog</name>
    <message>
        <source>Invite to the meeting</source>
        <translation>邀请加入会议</translation>
    </message>
    <message>
        <source>Invite</source>
        <translation>邀请</translation>
    </message>
</context>
<context>
    <name>TqMeetingPeoplePicker</name>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Another account</source>
        <translation>其他账号</translation>
    </message>
</context>
<context>
    <name>TqMeetingState</name>
    <message>
        <source>The meeting could not be ended: %1</source>
        <translation>无法结束会议：%1</translation>
    </message>
    <message>
        <source>The invitation failed: %1</source>
        <translation>邀请失败：%1</translation>
    </message>
    <message>
        <source>Not invited: %1</source>
        <translation>未能邀请：%1</translation>
    </message>
    <message>
        <source>%1 could not be removed: %2</source>
        <translation>无法移除 %1：%2</translation>
    </message>
    <message>
        <source>The camera could not be turned on: %1</source>
        <translation>无法打开摄像头：%1</translation>
    </message>
    <message>
        <source>The setting was not changed: %1</source>
        <translation>设置未更改：%1</translation>
    </message>
</context>
<context>
    <name>TqMeetingText</name>
    <message>
        <source>speaking</source>
        <translation>正在讲话</translation>
    </message>
    <message>
        <source>video on</source>
        <translation>视频已开</translation>
    </message>
    <message>
        <source>Voice meeting</source>
        <translation>语音会议</translation>
    </message>
    <message>
        <source>Video meeting</source>
        <translation>视频会议</translation>
    </message>
    <message>
        <source>Interphone</source>
        <translation>对讲</translation>
    </message>
    <message>
        <source>Meeting</source>
        <translation>会议</translation>
    </message>
    <message>
        <source>invited</source>
        <translation>已邀请</translation>
    </message>
    <message>
        <source>in the meeting</source>
        <translation>在会中</translation>
    </message>
    <message>
        <source>left</source>
        <translation>已离开</translation>
    </message>
    <message>
        <source>declined</source>
        <translation>已拒绝</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>已移除</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>speaks and listens</source>
        <translation>可发言、可收听</translation>
    </message>
    <message>
        <source>listens only</source>
        <translation>仅收听</translation>
    </message>
    <message>
        <source>speaks only</source>
        <translation>仅发言</translation>
    </message>
    <message>
        <source>muted and deafened</source>
        <translation>禁言且不收听</translation>
    </message>
    <message>
        <source>setting %1</source>
        <translation>设置 %1</translation>
    </message>
    <message>
        <source>%1 (you)</source>
        <translation>%1（您）</translation>
    </message>
    <message>
        <source>%1 · owner</source>
        <translation>%1 · 主持人</translation>
    </message>
    <message>
        <source>Not allowed (code %1).</source>
        <translation>不允许（代码 %1）。</translation>
    </message>
    <message>
        <source>Busy: someone else has it (code %1).</source>
        <translation>忙：已被他人占用（代码 %1）。</translation>
    </message>
    <message>
        <source>%1 (code %2).</source>
        <translation>%1（代码 %2）。</translation>
    </message>
</context>
<context>
    <name>TqMeetingUi</name>
    <message>
        <source>You are in a meeting. Leave it to start another.</source>
        <translation>您正在会议中。退出后才能发起新的会议。</translation>
    </message>
    <message>
        <source>You are in an interphone. Leave it to start another.</source>
        <translation>您正在对讲中。退出后才能发起新的会议。</translation>
    </message>
</context>
<context>
    <name>TqMeetingVideoTile</name>
    <message>
        <source>%1 · %2 × %3</source>
        <translation>%1 · %2 × %3</translation>
    </message>
    <message>
        <source>%1 · connecting…</source>
        <translation>%1 · 正在连接…</translation>
    </message>
</context>
<context>
    <name>TqMeetingWindow</name>
    <message>
        <source>&amp;Speak</source>
        <translation>发言(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Listen</source>
        <translation>收听(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>移除(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Invite…</source>
        <translation>邀请(&amp;I)…</translation>
    </message>
    <message>
        <source>&amp;End for everyone</source>
        <translation>为所有人结束(&amp;E)</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>成员</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%2 的%1</translation>
    </message>
    <message>
        <source>Starting the meeting…</source>
        <translation>正在发起会议…</translation>
    </message>
    <message>
        <source>Joining…</source>
        <translation>正在加入…</translation>
    </message>
    <message numerus="yes">
        <source>%1 · %n in the meeting</source>
        <translation>
            <numerusform>%1 · %n 人在会中</numerusform>
        </translation>
    </message>
    <message>
        <source>You ended the meeting for everyone.</source>
        <translation>您已为所有人结束会议。</translation>
    </message>
    <message>
        <source>The owner ended the meeting.</source>
        <translation>主持人已结束会议。</translation>
    </message>
    <message>
        <source>You are no longer in the meeting.</source>
        <translation>您已不在会议中。</translation>
    </message>
    <message>
        <source>The meeting could not be joined: %1</source>
        <translation>无法加入会议：%1</translation>
    </message>
    <message>
        <source>You left the meeting.</source>
        <translation>您已退出会议。</translation>
    </message>
    <message>
        <source>Turn camera &amp;off</source>
        <translation>关闭摄像头(&amp;O)</translation>
    </message>
    <message>
        <source>Turn camera &amp;on</source>
        <translation>打开摄像头(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Leave</source>
        <translation>退出(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>A voice meeting: no pictures.</source>
        <translation>语音会议：无画面。</translation>
    </message>
    <message>
        <source>No member shows video yet.</source>
        <translation>暂无成员开启视频。</translation>
    </message>
    <message>
        <source>Your settings</source>
        <translation>您的设置</translation>
    </message>
    <message>
        <source>Settings for %1</source>
        <translation>%1 的设置</translation>
    </message>
</context>
<context>
    <name>TqRoomState</name>
    <message>
        <source>Not in a room</source>
        <translation>未在房间中</translation>
    </message>
    <message>
        <source>Starting video…</source>
        <translation>正在启动视频…</translation>
    </message>
    <message>
        <source>Connecting to the room…</source>
        <translation>正在连接房间…</translation>
    </message>
    <message>
        <source>Signed in, entering the room…</source>
        <translation>已登录，正在进入房间…</translation>
    </message>
    <message>
        <source>In the room</source>
        <translation>已在房间中</translation>
    </message>
    <message>
        <source>Leaving the room…</source>
        <translation>正在离开房间…</translation>
    </message>
    <message>
        <source>Left the room</source>
        <translation>已离开房间</translation>
    </message>
    <message>
        <source>Could not join the room</source>
        <translation>无法加入房间</translation>
    </message>
    <message>
        <source>The video client could not be set up.</source>
        <translation>视频客户端无法初始化。</translation>
    </message>
    <message>
        <source>The video client did not start.</source>
        <translation>视频客户端未能启动。</translation>
    </message>
    <message>
        <source>The room has ended.</source>
        <translation>房间已结束。</translation>
    </message>
    <message>
        <source>The room refused the link.</source>
        <translation>房间拒绝了该链接。</translation>
    </message>
</context>
<context>
    <name>TqRoomWindow</name>
    <message>
        <source>Join</source>
        <translation>加入</translation>
    </message>
    <message>
        <source>Dial</source>
        <translation>拨号</translation>
    </message>
    <message>
        <source>Leave</source>
        <translation>离开</translation>
    </message>
    <message>
        <source>Room video</source>
        <translation>视频房间</translation>
    </message>
    <message>
        <source>Room link, e.g. https://rooms.example.test/join/abc123</source>
        <translation>房间链接，例如 https://rooms.example.test/join/abc123</translation>
    </message>
    <message>
        <source>Your name in the room</source>
        <translation>您在房间中的名字</translation>
    </message>
    <message>
        <source>Mute microphone</source>
        <translation>麦克风静音</translation>
    </message>
    <message>
        <source>Mute speaker</source>
        <translation>扬声器静音</translation>
    </message>
    <message>
        <source>Camera off</source>
        <translation>关闭摄像头</translation>
    </message>
    <message>
        <source>Share screen</source>
        <translation>共享屏幕</translation>
    </message>
    <message>
        <source>Digits</source>
        <translation>号码</translation>
    </message>
    <message>
        <source>Stop sharing</source>
        <translation>停止共享</translation>
    </message>
    <message>
        <source>Dialled: %1</source>
        <translation>已拨：%1</translation>
    </message>
    <message numerus="yes">
        <source>Participants (%n)</source>
        <translation>
            <numerusform>参与者（%n）</numerusform>
        </translation>
    </message>
</context>
</TS>
