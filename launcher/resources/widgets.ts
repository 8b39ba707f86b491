<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Launcher</name>
    <message>
        <source>Local history unavailable</source>
        <translation>本地历史记录不可用</translation>
    </message>
    <message>
        <source>The local database could not be opened, so local history is unavailable. Reason: %1

Details: %2</source>
        <translation>无法打开本地数据库，本地历史记录不可用。原因：%1

详细信息：%2</translation>
    </message>
    <message>
        <source>The database file is damaged or is not a database.</source>
        <translation>数据库文件已损坏或不是数据库文件。</translation>
    </message>
    <message>
        <source>The database file or its folder is read-only, or you have no permission to write to it.</source>
        <translation>数据库文件或其所在文件夹为只读，或没有写入权限。</translation>
    </message>
    <message>
        <source>The database is locked by another program.</source>
        <translation>数据库已被其他程序锁定。</translation>
    </message>
    <message>
        <source>The database was written by a newer version of the client.</source>
        <translation>数据库由更高版本的客户端写入。</translation>
    </message>
    <message>
        <source>An unexpected error occurred.</source>
        <translation>发生了意外错误。</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Copy</source>
        <translation>拷贝</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>拷贝链接</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>全选</translation>
    </message>
</context>
<context>
    <name>QWizard</name>
    <message>
        <source>&lt; &amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go Back</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
