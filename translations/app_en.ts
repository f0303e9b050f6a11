<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::CAboutDlg</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mrv003e meter installation and reading tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ver   %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CFilePathDlg</name>
    <message>
        <source>File Path Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File DownLoad Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File UpLoad Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Choice Download Path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please Choice Upload Path:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the readings of the Block
Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the printed pages of the readings
Print Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print &amp;Direct</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the readings on the default printer
Print Direct</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the printed readings as a PDF file
Export PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit the application
Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Communication</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication Setting
Config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Operate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication
Operate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter &amp;Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Line Check...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find the meters on a line: speeds, parities and addresses
Line Check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Server Database...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a database on a PostgreSQL server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;HHU Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU Setting
HHU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Meter Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter Setting
Meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View File
View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Da&amp;ta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Create Download File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Download File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Download File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download File
DownLoad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Upload File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload File
Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Con&amp;vert Data File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert Data File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Energy Database...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the database Input stores readings into</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Parameter Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File Path Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Path Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display program information and version number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HHU</source>
        <comment>toolbar</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter</source>
        <comment>toolbar</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <comment>toolbar</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config</source>
        <comment>toolbar</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operate</source>
        <comment>toolbar</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAP</source>
        <comment>Caps Lock</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NUM</source>
        <comment>Num Lock</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SCRL</source>
        <comment>Scroll Lock</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not available in this build</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::CServerDbDlg</name>
    <message>
        <source>Open Server Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name or address of the PostgreSQL server, or the folder of its socket</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty: the login name. The password comes from PGPASSWORD or ~/.pgpass, or is asked for when the server wants one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::QtPrompter</name>
    <message>
        <source>Open</source>
        <comment>first word of a file chooser&apos;s title</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <comment>file chooser</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
