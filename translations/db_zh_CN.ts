<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::MeterDatabase</name>
    <message>
        <source>Can not open land</source>
        <translation>无法打开抄表器表(land)</translation>
    </message>
    <message>
        <source>Can not open district</source>
        <translation>无法打开小区表(district)</translation>
    </message>
    <message>
        <source>Can not open meter</source>
        <translation>无法打开电表表(meter)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>mrv::RecordSetWrapper</name>
    <message>
        <source>The database file &apos;%1&apos; has been deleted or replaced since it was opened. Nothing was read or written; close the database and open it again.</source>
        <translation>数据库文件“%1”在打开之后被删除或替换了。没有读取或写入任何内容；请关闭数据库后重新打开。</translation>
    </message>
    <message>
        <source>You must create Record obj first!</source>
        <translation>必须先建立记录对象！</translation>
    </message>
    <message>
        <source>Warnning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The connection string names no database file (DBQ=).</source>
        <translation>连接字符串中没有指明数据库文件（DBQ=）。</translation>
    </message>
    <message>
        <source>Could not find the database file &apos;%1&apos;.</source>
        <translation>找不到数据库文件“%1”。</translation>
    </message>
    <message>
        <source>The database driver %1 is not installed.</source>
        <translation>没有安装数据库驱动 %1。</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Password for %1:</source>
        <translation>%1 的密码：</translation>
    </message>
    <message>
        <source>Invalid table name &apos;%1&apos;.</source>
        <translation>表名“%1”无效。</translation>
    </message>
    <message>
        <source>The record set is not open.</source>
        <translation>记录集没有打开。</translation>
    </message>
    <message>
        <source>The record set has %1 columns; %2 are needed.</source>
        <translation>记录集只有 %1 列；需要 %2 列。</translation>
    </message>
    <message>
        <source>Invalid column name &apos;%1&apos;.</source>
        <translation>列名“%1”无效。</translation>
    </message>
    <message>
        <source>Invalid name in the count of &apos;%1&apos;.</source>
        <translation>统计“%1”时名称无效。</translation>
    </message>
</context>
<context>
    <name>mrv::Schema</name>
    <message>
        <source>Can not create the database file &apos;%1&apos;.</source>
        <translation>无法创建数据库文件“%1”。</translation>
    </message>
</context>
</TS>
