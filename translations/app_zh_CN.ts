<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::CAboutDlg</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>mrv003e meter installation and reading tool</source>
        <translation>mrv003e 电表安装与抄表工具</translation>
    </message>
    <message>
        <source>Ver   %1</source>
        <translation>版本   %1</translation>
    </message>
</context>
<context>
    <name>mrv::CFilePathDlg</name>
    <message>
        <source>File Path Setting</source>
        <translation>文件路径设置</translation>
    </message>
    <message>
        <source>File DownLoad Path</source>
        <translation>下载文件路径</translation>
    </message>
    <message>
        <source>File UpLoad Path</source>
        <translation>上传文件路径</translation>
    </message>
    <message>
        <source>Please Choice Download Path:</source>
        <translation>请选择下载路径：</translation>
    </message>
    <message>
        <source>Please Choice Upload Path:</source>
        <translation>请选择上传路径：</translation>
    </message>
</context>
<context>
    <name>mrv::CMainFrame</name>
    <message>
        <source>Export &amp;Readings...</source>
        <translation>导出读数(&amp;R)...</translation>
    </message>
    <message>
        <source>Save the readings of the data file as a spreadsheet (.xlsx) or table (.csv)
Export Readings</source>
        <translation>将数据文件的读数保存为电子表格 (.xlsx) 或表格 (.csv)
导出读数</translation>
    </message>
    <message>
        <source>&amp;Recent Databases</source>
        <translation>最近的数据库(&amp;R)</translation>
    </message>
    <message>
        <source>Open one of the databases opened last</source>
        <translation>打开最近打开过的一个数据库</translation>
    </message>
    <message>
        <source>&amp;Export Energy Database...</source>
        <translation>导出电量数据库(&amp;E)...</translation>
    </message>
    <message>
        <source>Save the readings of an energy database as a spreadsheet (.xlsx) or table (.csv)</source>
        <translation>将电量数据库的读数保存为电子表格 (.xlsx) 或表格 (.csv)</translation>
    </message>
    <message>
        <source>%1
This database does not exist.</source>
        <translation>%1
此数据库不存在。</translation>
    </message>
    <message>
        <source>Open Database</source>
        <translation>打开数据库</translation>
    </message>
    <message>
        <source>%1
This database is no longer there; it is taken off the recent list.</source>
        <translation>%1
此数据库已不存在，已从最近的数据库列表中移除。</translation>
    </message>
    <message>
        <source>Recent Databases</source>
        <translation>最近的数据库</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>The language of the window, from the next start</source>
        <translation>窗口的语言，下次启动时生效</translation>
    </message>
    <message>
        <source>&amp;System</source>
        <translation>跟随系统(&amp;S)</translation>
    </message>
    <message>
        <source>The window will show the language chosen when mrv003e starts again.</source>
        <translation>mrv003e 下次启动时，窗口将显示所选的语言。</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <source>Print the readings of the Block
Print</source>
        <translation>打印小区的读数
打印</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>打印预览(&amp;V)</translation>
    </message>
    <message>
        <source>Show the printed pages of the readings
Print Preview</source>
        <translation>显示读数的打印页面
打印预览</translation>
    </message>
    <message>
        <source>Print &amp;Direct</source>
        <translation>直接打印(&amp;D)</translation>
    </message>
    <message>
        <source>Print the readings on the default printer
Print Direct</source>
        <translation>在默认打印机上打印读数
直接打印</translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation>导出 PDF(&amp;E)...</translation>
    </message>
    <message>
        <source>Save the printed readings as a PDF file
Export PDF</source>
        <translation>将打印的读数保存为 PDF 文件
导出 PDF</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Quit the application
Exit</source>
        <translation>退出程序
退出</translation>
    </message>
    <message>
        <source>&amp;Communication</source>
        <translation>通讯(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Config</source>
        <translation>通讯设置(&amp;C)</translation>
    </message>
    <message>
        <source>Communication Setting
Config</source>
        <translation>通讯设置
通讯设置</translation>
    </message>
    <message>
        <source>&amp;Operate</source>
        <translation>操作(&amp;O)</translation>
    </message>
    <message>
        <source>Communication
Operate</source>
        <translation>通讯
操作</translation>
    </message>
    <message>
        <source>Meter &amp;Test</source>
        <translation>电表测试(&amp;T)</translation>
    </message>
    <message>
        <source>Meter Test</source>
        <translation>电表测试</translation>
    </message>
    <message>
        <source>&amp;Line Check...</source>
        <translation>线路检查(&amp;L)...</translation>
    </message>
    <message>
        <source>Find the meters on a line: speeds, parities and addresses
Line Check</source>
        <translation>查找线路上的电表：波特率、校验位和地址
线路检查</translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation>数据库(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Open Database</source>
        <translation>打开数据库(&amp;O)</translation>
    </message>
    <message>
        <source>Open &amp;Server Database...</source>
        <translation>打开服务器数据库(&amp;S)...</translation>
    </message>
    <message>
        <source>Open a database on a PostgreSQL server</source>
        <translation>打开 PostgreSQL 服务器上的数据库</translation>
    </message>
    <message>
        <source>&amp;Close Database</source>
        <translation>关闭数据库(&amp;C)</translation>
    </message>
    <message>
        <source>Close Database</source>
        <translation>关闭数据库</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;HHU Setting</source>
        <translation>抄表器设置(&amp;H)</translation>
    </message>
    <message>
        <source>HHU Setting
HHU</source>
        <translation>抄表器设置
抄表器</translation>
    </message>
    <message>
        <source>&amp;Meter Setting</source>
        <translation>电表设置(&amp;M)</translation>
    </message>
    <message>
        <source>Meter Setting
Meter</source>
        <translation>电表设置
电表</translation>
    </message>
    <message>
        <source>&amp;View File</source>
        <translation>查看文件(&amp;V)</translation>
    </message>
    <message>
        <source>View File
View</source>
        <translation>查看文件
查看</translation>
    </message>
    <message>
        <source>Da&amp;ta</source>
        <translation>数据(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Create Download File</source>
        <translation>生成下载文件(&amp;C)</translation>
    </message>
    <message>
        <source>Create Download File</source>
        <translation>生成下载文件</translation>
    </message>
    <message>
        <source>&amp;Download File</source>
        <translation>下载文件(&amp;D)</translation>
    </message>
    <message>
        <source>Download File
DownLoad</source>
        <translation>下载文件
下载</translation>
    </message>
    <message>
        <source>&amp;Upload File</source>
        <translation>上传文件(&amp;U)</translation>
    </message>
    <message>
        <source>Upload File
Upload</source>
        <translation>上传文件
上传</translation>
    </message>
    <message>
        <source>Con&amp;vert Data File</source>
        <translation>转换数据文件(&amp;V)</translation>
    </message>
    <message>
        <source>Convert Data File</source>
        <translation>转换数据文件</translation>
    </message>
    <message>
        <source>&amp;Energy Database...</source>
        <translation>电量数据库(&amp;E)...</translation>
    </message>
    <message>
        <source>Choose the database Input stores readings into</source>
        <translation>选择导入读数时存入的电量数据库</translation>
    </message>
    <message>
        <source>&amp;Parameter Setting</source>
        <translation>参数设置(&amp;P)</translation>
    </message>
    <message>
        <source>Parameter Setting</source>
        <translation>参数设置</translation>
    </message>
    <message>
        <source>&amp;File Path Setting</source>
        <translation>文件路径设置(&amp;F)</translation>
    </message>
    <message>
        <source>File Path Setting</source>
        <translation>文件路径设置</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>Display program information and version number</source>
        <translation>显示程序信息和版本号</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>HHU</source>
        <comment>toolbar</comment>
        <translation>抄表器</translation>
    </message>
    <message>
        <source>Meter</source>
        <comment>toolbar</comment>
        <translation>电表</translation>
    </message>
    <message>
        <source>View</source>
        <comment>toolbar</comment>
        <translation>查看</translation>
    </message>
    <message>
        <source>Config</source>
        <comment>toolbar</comment>
        <translation>通讯设置</translation>
    </message>
    <message>
        <source>Operate</source>
        <comment>toolbar</comment>
        <translation>操作</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>CAP</source>
        <comment>Caps Lock</comment>
        <translation>大写</translation>
    </message>
    <message>
        <source>NUM</source>
        <comment>Num Lock</comment>
        <translation>数字</translation>
    </message>
    <message>
        <source>SCRL</source>
        <comment>Scroll Lock</comment>
        <translation>滚动</translation>
    </message>
    <message>
        <source>%1: not available in this build</source>
        <translation>%1：此版本不提供</translation>
    </message>
</context>
<context>
    <name>mrv::CServerDbDlg</name>
    <message>
        <source>Open Server Database</source>
        <translation>打开服务器数据库</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>主机</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Database</source>
        <translation>数据库</translation>
    </message>
    <message>
        <source>User</source>
        <translation>用户</translation>
    </message>
    <message>
        <source>Name or address of the PostgreSQL server, or the folder of its socket</source>
        <translation>PostgreSQL 服务器的名称或地址，或其套接字所在的文件夹</translation>
    </message>
    <message>
        <source>Empty: the login name. The password comes from PGPASSWORD or ~/.pgpass, or is asked for when the server wants one.</source>
        <translation>留空：使用登录名。密码取自 PGPASSWORD 或 ~/.pgpass，服务器需要时会询问。</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>主机(&amp;H)：</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>端口(&amp;P)：</translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation>数据库(&amp;D)：</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>用户(&amp;U)：</translation>
    </message>
</context>
<context>
    <name>mrv::QtPrompter</name>
    <message>
        <source>Open</source>
        <comment>first word of a file chooser&apos;s title</comment>
        <translation>打开</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <comment>file chooser</comment>
        <translation>打开(&amp;O)</translation>
    </message>
</context>
</TS>
