<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A stand-in for the deployment's own tq_CN.qm. -->
<TS version="2.1" language="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Client is running</source>
        <translation>客户端正在运行</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(程序)</translation>
    </message>
</context>
</TS>
