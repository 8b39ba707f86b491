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
</TS>
