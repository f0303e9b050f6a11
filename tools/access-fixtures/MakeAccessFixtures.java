// Writes the Access files the converter's tests and benchmark read. The files come from an
// Access writer that none of our code shares (Jackcess), so a test compares our reading with
// an independent writer and with mdb-export, never with ourselves.
//
//   java MakeAccessFixtures fixtures OUTDIR           the small files committed to the tests
//   java MakeAccessFixtures large OUTDIR METERS READINGS   an installation of 21 Blocks with
//                                                     METERS meters and an energy file of
//                                                     READINGS rows, for the benchmark
import com.healthmarketscience.jackcess.ColumnBuilder;
import com.healthmarketscience.jackcess.DataType;
import com.healthmarketscience.jackcess.Database;
import com.healthmarketscience.jackcess.Database.FileFormat;
import com.healthmarketscience.jackcess.DatabaseBuilder;
import com.healthmarketscience.jackcess.Table;
import com.healthmarketscience.jackcess.TableBuilder;

import java.io.File;
import java.util.ArrayList;
import java.util.List;

public class MakeAccessFixtures {

    // "name:LONG", "name:DOUBLE", "name:TEXT:width" (width in characters; Jet 4 keeps two
    // bytes a character, shown compressed when the text allows, which readers must expand).
    static Table table(Database db, String name, String... columns) throws Exception {
        TableBuilder tb = new TableBuilder(name);
        for (String c : columns) {
            String[] p = c.split(":");
            ColumnBuilder cb;
            if (p[1].equals("LONG")) {
                cb = new ColumnBuilder(p[0], DataType.LONG);
            } else if (p[1].equals("DOUBLE")) {
                cb = new ColumnBuilder(p[0], DataType.DOUBLE);
            } else {
                cb = new ColumnBuilder(p[0], DataType.TEXT).setLengthInUnits(Integer.parseInt(p[2]))
                         .setCompressedUnicode(true);
            }
            tb.addColumn(cb);
        }
        return tb.toTable(db);
    }

    static Database create(File dir, String name, FileFormat format) throws Exception {
        File f = new File(dir, name);
        f.delete();
        return new DatabaseBuilder(f).setFileFormat(format).create();
    }

    // A 25-character Chinese address takes 50 GBK bytes, the most a meter address holds.
    static final String WIDEST_ADDRESS = "北京市海淀区中关村南大街五号院三号楼二单元一零一室";
    static final String WIDEST_DESCRIPTION = "二十字节宽抄表器说明"; // 10 characters, 20 bytes
    static final String WIDEST_BLOCK = "八个汉字宽的名称"; // 8 characters, 16 bytes

    // Columns in another order and case than ours, an extra column in `district`, Chinese
    // texts, quotes, the widest values, NULL texts and the id limits.
    static void installation(File dir, String name, FileFormat format) throws Exception {
        try (Database db = create(dir, name, format)) {
            Table land = table(db, "land", "land_id:LONG", "description:TEXT:50");
            land.addRow(1, "一号抄表器");
            land.addRow(2, "O'Brien \"HHU\" 2");
            land.addRow(3, WIDEST_DESCRIPTION);
            land.addRow(9999, null);

            Table district = table(db, "district", "District_Para:LONG", "DISTRICT_ID:LONG",
                                   "district_name:TEXT:50", "land_id:LONG", "remark:TEXT:50");
            district.addRow(0x3200, 1, "东区", 1, "extra");
            district.addRow(0x1600, 2, "Block 'B'", 1, null);
            district.addRow(0x99999, 3, WIDEST_BLOCK, 2, "最宽");
            district.addRow(0x100, 40, null, 3, null);
            district.addRow(0x12000, 9999, "last \"one\"", 9999, null);

            Table meter = table(db, "meter", "meter_num:TEXT:20", "property_num:TEXT:20",
                                "meter_address:TEXT:80", "district_id:LONG");
            meter.addRow("01", "000000000001", "东区一号楼101", 1);
            meter.addRow("02", "000000000002", "O'Neil's \"shop\"", 1);
            meter.addRow("01", "000000000003", WIDEST_ADDRESS, 2);
            meter.addRow("99", "ABCDEFGHIJKL", null, 3);
            meter.addRow("00", null, "no second number", 40);
            meter.addRow("123456789012", "中文编号六字", "宽 12", 9999);
            meter.addRow(null, "x", "", 9999);
        }
    }

    // An installation whose Blocks have no meters yet: an empty table.
    static void installationWithoutMeters(File dir) throws Exception {
        try (Database db = create(dir, "install-nometers-2003.mdb", FileFormat.V2003)) {
            table(db, "land", "land_id:LONG", "description:TEXT:50").addRow(7, "新");
            table(db, "district", "district_id:LONG", "district_name:TEXT:50", "land_id:LONG",
                  "district_para:LONG").addRow(70, "空", 7, 0x3200);
            table(db, "meter", "meter_num:TEXT:20", "property_num:TEXT:20",
                  "meter_address:TEXT:80", "district_id:LONG");
        }
    }

    // `meter` lacks district_id: the file cannot be carried over.
    static void installationMissingColumn(File dir) throws Exception {
        try (Database db = create(dir, "install-missing-2000.mdb", FileFormat.V2000)) {
            table(db, "land", "land_id:LONG", "description:TEXT:50").addRow(1, "a");
            table(db, "district", "district_id:LONG", "district_name:TEXT:50", "land_id:LONG",
                  "district_para:LONG").addRow(1, "b", 1, 0x3200);
            table(db, "meter", "meter_num:TEXT:20", "property_num:TEXT:20",
                  "meter_address:TEXT:80").addRow("01", "1", "x");
        }
    }

    // Rows that do not fit our tables, each for one reason, between rows that do.
    static void installationBadRows(File dir) throws Exception {
        try (Database db = create(dir, "install-badrows-2003.mdb", FileFormat.V2003)) {
            Table land = table(db, "land", "land_id:LONG", "description:TEXT:50");
            land.addRow(1, "good");
            land.addRow(0, "id zero");
            land.addRow(10000, "id too big");
            land.addRow(2, WIDEST_DESCRIPTION + "x"); // 21 bytes
            land.addRow(1, "same id again");
            land.addRow(null, "no id");
            Table district = table(db, "district", "district_id:LONG", "district_name:TEXT:50",
                                   "land_id:LONG", "district_para:LONG");
            district.addRow(1, "good", 1, 0x3200);
            district.addRow(2, WIDEST_BLOCK + "x", 1, 0x3200); // 17 bytes
            district.addRow(3, "low constant", 1, 0xFF);
            district.addRow(4, "high constant", 1, 0x100000);
            district.addRow(5, "bad HHU", 0, 0x3200);
            Table meter = table(db, "meter", "meter_num:TEXT:20", "property_num:TEXT:20",
                                "meter_address:TEXT:80", "district_id:LONG");
            meter.addRow("01", "1", "good", 1);
            meter.addRow("1234567890123", "2", "number too wide", 1);
            meter.addRow("03", "3", WIDEST_ADDRESS + "x", 1);
            meter.addRow("04", "4", "no Block", 0);
        }
    }

    // A few hundred readings; the T4 columns of newer files are extra here. Some rows with
    // NULL values and the last one with every value NULL.
    static void energy(File dir, String name, FileFormat format, int rows) throws Exception {
        try (Database db = create(dir, name, format)) {
            Table energy = table(db, "energy", "datestr:TEXT:20", "meter_num:TEXT:20",
                                 "dbk0:DOUBLE", "dbk1:DOUBLE", "dbk2:DOUBLE", "dbk:DOUBLE",
                                 "dbkp0:DOUBLE", "dbkp1:DOUBLE", "dbkp2:DOUBLE", "dbkp:DOUBLE",
                                 "dbk3:DOUBLE");
            List<Object[]> batch = new ArrayList<>();
            for (int i = 0; i < rows; ++i) {
                double base = i * 12.34;
                Object t3 = i % 50 == 7 ? null : base / 4;
                batch.add(new Object[] {String.format("%02d-%02d-%02d", 26, 1 + i % 12, 1 + i % 28),
                                        String.format("%012d", 100000 + i), base / 2, base / 4, t3,
                                        base, base / 3, base / 5, base / 7, base * 0.9, 1.0});
                if (batch.size() == 1000) {
                    energy.addRows(batch);
                    batch.clear();
                }
            }
            batch.add(new Object[] {null, null, null, null, null, null, null, null, null, null, null});
            energy.addRows(batch);
        }
    }

    static void test(File dir) throws Exception {
        try (Database db = create(dir, "test-2000.mdb", FileFormat.V2000)) {
            Table test = table(db, "test", "表号:TEXT:30", "结论:TEXT:20", "日期:TEXT:20",
                               "电表常数:TEXT:20", "电量:TEXT:20", "版本:TEXT:20",
                               "保护及预分频:TEXT:20", "清电量:TEXT:20");
            test.addRow("0000000000000000001", "合格", "26-01-05", "003200", "00000012", "010203",
                        "010203", "是");
            test.addRow("00000000000000000a2", "不合格", "26-01-05", "001600", "", "010203",
                        "0102", "否");
            test.addRow("it's \"3\"", null, null, null, null, null, null, null);
        }
    }

    static void large(File dir, int meters, int readings) throws Exception {
        try (Database db = create(dir, "large-install-2003.mdb", FileFormat.V2003)) {
            table(db, "land", "land_id:LONG", "description:TEXT:50").addRow(1, "大");
            Table district = table(db, "district", "district_id:LONG", "district_name:TEXT:50",
                                   "land_id:LONG", "district_para:LONG");
            for (int b = 1; b <= 21; ++b)
                district.addRow(b, "区" + b, 1, 0x3200);
            Table meter = table(db, "meter", "meter_num:TEXT:20", "property_num:TEXT:20",
                                "meter_address:TEXT:80", "district_id:LONG");
            List<Object[]> rows = new ArrayList<>();
            for (int m = 0; m < meters; ++m)
                rows.add(new Object[] {String.format("%02d", m % 100), String.format("%012d", m),
                                       "地址 " + m, 1 + m % 21});
            meter.addRows(rows);
        }
        energy(dir, "large-energy-2003.mdb", FileFormat.V2003, readings);
    }

    public static void main(String[] args) throws Exception {
        if (args.length >= 2 && args[0].equals("fixtures")) {
            File dir = new File(args[1]);
            installation(dir, "install-2000.mdb", FileFormat.V2000);
            installation(dir, "install-2003.mdb", FileFormat.V2003);
            installationWithoutMeters(dir);
            installationMissingColumn(dir);
            installationBadRows(dir);
            energy(dir, "energy-2003.mdb", FileFormat.V2003, 300);
            test(dir);
        } else if (args.length == 4 && args[0].equals("large")) {
            large(new File(args[1]), Integer.parseInt(args[2]), Integer.parseInt(args[3]));
        } else {
            System.err.println("usage: MakeAccessFixtures fixtures OUTDIR | large OUTDIR METERS READINGS");
            System.exit(2);
        }
    }
}
