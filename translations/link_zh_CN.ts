<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::LineCheck</name>
    <message>
        <source>none</source>
        <translation>无校验</translation>
    </message>
    <message>
        <source>odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>mark</source>
        <translation>标记校验</translation>
    </message>
    <message>
        <source>space</source>
        <translation>空格校验</translation>
    </message>
    <message>
        <source>Choose at least one speed.</source>
        <translation>请至少选择一种波特率。</translation>
    </message>
    <message>
        <source>Choose at least one parity.</source>
        <translation>请至少选择一种校验位。</translation>
    </message>
    <message>
        <source>The addresses run from 1 to 247, the first not above the last.</source>
        <translation>地址范围为 1 到 247，起始地址不能大于结束地址。</translation>
    </message>
    <message>
        <source>The time-out of a try is 10 to 10000 ms.</source>
        <translation>每次尝试的超时为 10 到 10000 ms。</translation>
    </message>
</context>
<context>
    <name>mrv::LinkTrace</name>
    <message>
        <source>answered</source>
        <translation>已应答</translation>
    </message>
    <message>
        <source>silence</source>
        <translation>无应答</translation>
    </message>
    <message>
        <source>partial</source>
        <translation>不完整</translation>
    </message>
    <message>
        <source>bad-check</source>
        <translation>校验错误</translation>
    </message>
    <message>
        <source>echo</source>
        <translation>回显</translation>
    </message>
    <message>
        <source>other-meter</source>
        <translation>其他电表</translation>
    </message>
    <message>
        <source>exception</source>
        <translation>异常应答</translation>
    </message>
    <message>
        <source>too-long</source>
        <translation>过长</translation>
    </message>
    <message>
        <source>mismatch</source>
        <translation>不符</translation>
    </message>
</context>
<context>
    <name>mrv::MeterLog</name>
    <message>
        <source>Fail!</source>
        <translation>失败！</translation>
    </message>
    <message>
        <source>Read Time</source>
        <translation>读时间</translation>
    </message>
    <message>
        <source>Time(HH:MM:SS):</source>
        <translation>时间(HH:MM:SS)：</translation>
    </message>
    <message>
        <source>System(HH:MM:SS):</source>
        <translation>系统时间(HH:MM:SS)：</translation>
    </message>
    <message>
        <source>Date(YY/MM/DD):</source>
        <translation>日期(YY/MM/DD)：</translation>
    </message>
    <message>
        <source>read address</source>
        <translation>读地址</translation>
    </message>
    <message>
        <source>read total energy:</source>
        <translation>读总电量：</translation>
    </message>
    <message>
        <source>read import energy:</source>
        <translation>读正向电量：</translation>
    </message>
    <message>
        <source>read export energy:</source>
        <translation>读反向电量：</translation>
    </message>
    <message>
        <source>read trip energy:</source>
        <translation>读跳闸电量：</translation>
    </message>
    <message>
        <source>Read Day Table1:</source>
        <translation>读日时段表1：</translation>
    </message>
    <message>
        <source>Read Day Table2:</source>
        <translation>读日时段表2：</translation>
    </message>
    <message>
        <source>Read Year Table:</source>
        <translation>读年时区表：</translation>
    </message>
    <message>
        <source>Read Constant:</source>
        <translation>读电表常数：</translation>
    </message>
    <message>
        <source>R Carrier Module Address:</source>
        <translation>读载波模块地址：</translation>
    </message>
    <message>
        <source>Read Pulse Prescaler:</source>
        <translation>读脉冲预分频：</translation>
    </message>
    <message>
        <source>Read Reset Date(DD:HH):</source>
        <translation>读结算日(DD:HH)：</translation>
    </message>
    <message>
        <source>Read Relay Status:</source>
        <translation>读继电器状态：</translation>
    </message>
    <message>
        <source>read show mode:</source>
        <translation>读显示方式：</translation>
    </message>
    <message>
        <source>Read Press Key Show Mode:</source>
        <translation>读按键显示方式：</translation>
    </message>
    <message>
        <source>--show current</source>
        <translation>--显示电流</translation>
    </message>
    <message>
        <source>--show voltage</source>
        <translation>--显示电压</translation>
    </message>
    <message>
        <source>--show reactive energy</source>
        <translation>--显示无功电量</translation>
    </message>
    <message>
        <source>--show active energy</source>
        <translation>--显示有功电量</translation>
    </message>
    <message>
        <source>--show power factor</source>
        <translation>--显示功率因数</translation>
    </message>
    <message>
        <source>--show total energy</source>
        <translation>--显示总电量</translation>
    </message>
    <message>
        <source>--show import energy</source>
        <translation>--显示正向电量</translation>
    </message>
    <message>
        <source>--show export energy</source>
        <translation>--显示反向电量</translation>
    </message>
    <message>
        <source>Read Version:</source>
        <translation>读版本：</translation>
    </message>
    <message>
        <source>read active power:</source>
        <translation>读有功功率：</translation>
    </message>
    <message>
        <source>read reactive power:</source>
        <translation>读无功功率：</translation>
    </message>
    <message>
        <source>read power factor:</source>
        <translation>读功率因数：</translation>
    </message>
    <message>
        <source>read total power factor:</source>
        <translation>读总功率因数：</translation>
    </message>
    <message>
        <source>read A phase power factor:</source>
        <translation>读A相功率因数：</translation>
    </message>
    <message>
        <source>read B phase power factor:</source>
        <translation>读B相功率因数：</translation>
    </message>
    <message>
        <source>read C phase power factor:</source>
        <translation>读C相功率因数：</translation>
    </message>
    <message>
        <source>read voltage:</source>
        <translation>读电压：</translation>
    </message>
    <message>
        <source>read current:</source>
        <translation>读电流：</translation>
    </message>
    <message>
        <source>read frequecy:</source>
        <translation>读频率：</translation>
    </message>
    <message>
        <source>读 所有变量:</source>
        <translation>读所有变量：</translation>
    </message>
    <message>
        <source>Read Reactive K:</source>
        <translation>读无功 K：</translation>
    </message>
    <message>
        <source>Read Pre Reactive k:</source>
        <translation>读上月无功 k：</translation>
    </message>
    <message>
        <source>Read PP Reactive k:</source>
        <translation>读上上月无功 k：</translation>
    </message>
    <message>
        <source>Read current Save Energy:</source>
        <translation>读当前冻结电量：</translation>
    </message>
    <message>
        <source>Before Modify:</source>
        <translation>修改前：</translation>
    </message>
    <message>
        <source>After Modify:</source>
        <translation>修改后：</translation>
    </message>
    <message>
        <source>R L3 Three Phase Meter No-Voltage Event:</source>
        <translation>读上3次三相表失压事件：</translation>
    </message>
    <message>
        <source>R Reserve Times and Energy:</source>
        <translation>读预留次数及电量：</translation>
    </message>
    <message>
        <source>R Meter ID:</source>
        <translation>读表号：</translation>
    </message>
    <message>
        <source>Read Owing Current and Owing Time:</source>
        <translation>读欠费电流及欠费时间：</translation>
    </message>
    <message>
        <source>Read No-load Current and No-load Time:</source>
        <translation>读空载电流及空载时间：</translation>
    </message>
    <message>
        <source>Read Password Priority:</source>
        <translation>读密码权限：</translation>
    </message>
    <message>
        <source>Forbid</source>
        <translation>禁止</translation>
    </message>
    <message>
        <source>Permit</source>
        <translation>允许</translation>
    </message>
    <message>
        <source>读欠费时间:</source>
        <translation>读欠费时间：</translation>
    </message>
    <message>
        <source>R Tarrif Price:</source>
        <translation>读费率电价：</translation>
    </message>
    <message>
        <source>读密码表1:</source>
        <translation>读密码表1：</translation>
    </message>
    <message>
        <source>读密码表2:</source>
        <translation>读密码表2：</translation>
    </message>
    <message>
        <source>Read Trim Value:</source>
        <translation>读微调值：</translation>
    </message>
    <message>
        <source>Read EEPRPM:</source>
        <translation>读EEPROM：</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>OK!</source>
        <translation>成功！</translation>
    </message>
    <message>
        <source>Write Time:</source>
        <translation>写时间：</translation>
    </message>
    <message>
        <source>Write address</source>
        <translation>写地址</translation>
    </message>
    <message>
        <source>write baudrate:</source>
        <translation>写波特率：</translation>
    </message>
    <message>
        <source>Write Constant:</source>
        <translation>写电表常数：</translation>
    </message>
    <message>
        <source>Write Carrier Module Address:</source>
        <translation>写载波模块地址：</translation>
    </message>
    <message>
        <source>Write Trim Value:</source>
        <translation>写微调值：</translation>
    </message>
    <message>
        <source>Write Pulse Prescaler:</source>
        <translation>写脉冲预分频：</translation>
    </message>
    <message>
        <source>Write Reset Date:</source>
        <translation>写结算日：</translation>
    </message>
    <message>
        <source>W Relay Status:</source>
        <translation>写继电器状态：</translation>
    </message>
    <message>
        <source>Control Owing:</source>
        <translation>控制欠费：</translation>
    </message>
    <message>
        <source>Write vnormal,vhigh,vlow:</source>
        <translation>写额定电压、电压上限、电压下限：</translation>
    </message>
    <message>
        <source>Write inormal,ihigh,ilow:</source>
        <translation>写额定电流、电流上限、电流下限：</translation>
    </message>
    <message>
        <source>Write Owing Current and Time:</source>
        <translation>写欠费电流及欠费时间：</translation>
    </message>
    <message>
        <source>写欠费功率:</source>
        <translation>写欠费功率：</translation>
    </message>
    <message>
        <source>写表类型:</source>
        <translation>写表类型：</translation>
    </message>
    <message>
        <source>写欠费时间:</source>
        <translation>写欠费时间：</translation>
    </message>
    <message>
        <source>写多费率价格表:</source>
        <translation>写多费率价格表：</translation>
    </message>
    <message>
        <source>write show mode:</source>
        <translation>写显示方式：</translation>
    </message>
    <message>
        <source>Write Key Show Mode:</source>
        <translation>写按键显示方式：</translation>
    </message>
    <message>
        <source>Write Tarif1:</source>
        <translation>写日时段表1：</translation>
    </message>
    <message>
        <source>Write Tarif2:</source>
        <translation>写日时段表2：</translation>
    </message>
    <message>
        <source>Write Year Tarif:</source>
        <translation>写年时区表：</translation>
    </message>
    <message>
        <source>Initial:</source>
        <translation>初始化：</translation>
    </message>
    <message>
        <source>Change Password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>W Priority</source>
        <translation>写权限</translation>
    </message>
    <message>
        <source>Clear History:</source>
        <translation>清事件记录：</translation>
    </message>
    <message>
        <source>Clear Energy:</source>
        <translation>清电量：</translation>
    </message>
    <message>
        <source>写密码表:</source>
        <translation>写密码表：</translation>
    </message>
    <message>
        <source>W Money:</source>
        <translation>写金额：</translation>
    </message>
    <message>
        <source>Write Priority:</source>
        <translation>写权限：</translation>
    </message>
</context>
<context>
    <name>mrv::MeterTestStation</name>
    <message>
        <source>MeterID</source>
        <translation>表号</translation>
    </message>
    <message>
        <source>Energy</source>
        <translation>电量</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>保护及预分频</translation>
    </message>
    <message>
        <source>E total: please enter the whole kWh, a number from 0 to 999999.</source>
        <translation>总电量：请输入整千瓦时数，0 到 999999 之间。</translation>
    </message>
    <message>
        <source>E total: please enter one or two digits after the point.</source>
        <translation>总电量：小数点后请输入一位或两位数字。</translation>
    </message>
    <message>
        <source>Diff(0.01kWh): please enter a number from 0 to 999999.</source>
        <translation>误差(0.01kWh)：请输入 0 到 999999 之间的数。</translation>
    </message>
    <message>
        <source>Protect</source>
        <translation>保护</translation>
    </message>
    <message>
        <source>Prescaler</source>
        <translation>预分频</translation>
    </message>
    <message>
        <source>Pulse Width</source>
        <translation>脉冲宽度</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>通讯错误</translation>
    </message>
    <message>
        <source>Comm Err</source>
        <translation>通讯错误</translation>
    </message>
    <message>
        <source>Addr err</source>
        <translation>地址错误</translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>等待</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>电表常数</translation>
    </message>
</context>
</TS>
