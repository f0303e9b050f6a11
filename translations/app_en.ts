<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::CMainFrame</name>
    <message>
        <source>Export &amp;Readings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the readings of the data file as a spreadsheet (.xlsx) or table (.csv)
Export Readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Recent Databases</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open one of the databases opened last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Energy Database...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the readings of an energy database as a spreadsheet (.xlsx) or table (.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
This database does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
This database is no longer there; it is taken off the recent list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent Databases</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The language of the window, from the next start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The window will show the language chosen when mrv003e starts again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
