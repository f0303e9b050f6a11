<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::CMrvView</name>
    <message>
        <source>  (%1 damaged in the file)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To work on an installation, open its database:
Database &gt; Open Database, or one of Database &gt; Recent Databases.

To see the readings a hand-held unit brought back:
View &gt; View File.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::RecordListModel</name>
    <message>
        <source>! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this record is damaged: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
