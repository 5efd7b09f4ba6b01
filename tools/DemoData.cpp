#include "tools/DemoData.h"

#include <cstdio>
#include <string>
#include <vector>

#include "store/Database.h"
#include "store/Schema.h"
#include "store/Values.h"

namespace tools {

namespace {

using store::values::formatNumber;

struct Goods {
    const char* code;
    const char* name;
    const char* model;
    const char* variant;
    const char* unit;
    double price;
    double quantity;
    const char* supplier;
    const char* contact;
    const char* phone;
    const char* address;
};

const Goods kGoods[] = {
    {"WJ001", "中性笔", "GP-1008", "0.5mm 黑色", "支", 1.2, 500, "晨光文具批发部", "刘建国",
     "13812345678", "上海市奉贤区金钱公路3469号"},
    {"WJ002", "中性笔", "GP-1008", "0.5mm 红色", "支", 1.2, 200, "晨光文具批发部", "刘建国",
     "13812345678", "上海市奉贤区金钱公路3469号"},
    {"WJ003", "笔记本", "B5-60", "60页 软抄", "本", 2.5, 300, "得力办公用品公司", "王海燕",
     "0574-65895678", "浙江省宁海县得力工业园"},
    {"WJ004", "订书机", "0414", "12号 可订20页", "个", 8.6, 40, "得力办公用品公司", "王海燕",
     "0574-65895678", "浙江省宁海县得力工业园"},
    {"WJ005", "订书钉", "0012", "24/6 1000枚", "盒", 1.35, 120, "得力办公用品公司", "王海燕",
     "0574-65895678", "浙江省宁海县得力工业园"},
    {"WJ006", "文件夹", "A4-5301", "A4 双强力夹", "个", 6.8, 60, "得力办公用品公司", "王海燕",
     "0574-65895678", "浙江省宁海县得力工业园"},
    {"WJ007", "复印纸", "A4-70G", "70克 500张/包", "包", 18.5, 80, "亚太森博纸业经销处", "陈志强",
     "0531-88761234", "山东省济南市历下区解放路56号"},
    {"WJ008", "复印纸", "A4-80G", "80克 500张/包", "包", 22, 50, "亚太森博纸业经销处", "陈志强",
     "0531-88761234", "山东省济南市历下区解放路56号"},
    {"WJ009", "计算器", "DS-120", "12位 太阳能", "台", 26.8, 30, "卡西欧电子代理商", "赵晓梅",
     "020-83356789", "广州市越秀区北京路128号"},
    {"WJ010", "胶水", "7303", "40ml 透明", "瓶", 1.8, 150, "晨光文具批发部", "刘建国",
     "13812345678", "上海市奉贤区金钱公路3469号"},
    {"DZ001", "U盘", "DT100G3", "32GB USB3.0", "个", 29.9, 50, "金士顿数码专营", "孙立",
     "0755-26783456", "深圳市福田区华强北路1002号"},
    {"DZ002", "U盘", "DT100G3", "64GB USB3.0", "个", 42.5, 30, "金士顿数码专营", "孙立",
     "0755-26783456", "深圳市福田区华强北路1002号"},
    {"DZ003", "鼠标", "M185", "无线 灰色", "个", 55, 25, "罗技外设经销", "周明", "021-64567890",
     "上海市徐汇区漕溪北路88号"},
    {"DZ004", "键盘", "K120", "有线 USB", "个", 49, 20, "罗技外设经销", "周明", "021-64567890",
     "上海市徐汇区漕溪北路88号"},
    {"DZ005", "移动电源", "PB-10000", "10000mAh", "个", 68, 15, "深圳市品胜电子", "黄伟",
     "0755-28901234", "深圳市龙华区民治大道33号"},
    {"DZ006", "数据线", "TC-1M", "Type-C 1米", "条", 7.5, 100, "深圳市品胜电子", "黄伟",
     "0755-28901234", "深圳市龙华区民治大道33号"},
    {"DZ007", "耳机", "EP-200", "入耳式 3.5mm", "副", 19.9, 40, "深圳市品胜电子", "黄伟",
     "0755-28901234", "深圳市龙华区民治大道33号"},
    {"DZ008", "电池", "LR6", "5号 4粒装", "板", 6.2, 80, "南孚电池总代理", "林芳", "0599-8765432",
     "福建省南平市延平区工业路9号"},
    {"DZ009", "电池", "LR03", "7号 4粒装", "板", 6.2, 60, "南孚电池总代理", "林芳", "0599-8765432",
     "福建省南平市延平区工业路9号"},
    {"RY001", "洗衣粉", "JB-1.8", "1.8kg", "袋", 21.5, 40, "联合利华日化经销", "吴军",
     "021-51234567", "上海市长宁区天山路600号"},
    {"RY002", "洗洁精", "BL-1.5", "1.5kg 柠檬", "瓶", 9.8, 60, "联合利华日化经销", "吴军",
     "021-51234567", "上海市长宁区天山路600号"},
    {"RY003", "抽纸", "QJ-130", "130抽 3层 6包", "提", 15.9, 50, "维达纸业经销商", "郑丽",
     "0750-3456789", "广东省江门市新会区维达路1号"},
    {"RY004", "卷纸", "VD-10", "4层 10卷", "提", 23.6, 40, "维达纸业经销商", "郑丽", "0750-3456789",
     "广东省江门市新会区维达路1号"},
    {"RY005", "牙膏", "ZH-120", "120g 薄荷", "支", 8.9, 80, "云南白药日化", "杨帆", "0871-66543210",
     "昆明市呈贡区云南白药街3686号"},
    {"RY006", "香皂", "SF-125", "125g 3块装", "组", 11.5, 45, "舒肤佳日化代理", "何静",
     "020-38765432", "广州市天河区体育西路191号"},
    {"SP001", "矿泉水", "NF-550", "550ml 24瓶", "箱", 24, 60, "农夫山泉配送站", "马超",
     "0571-87654321", "杭州市西湖区葛衙庄181号"},
    {"SP002", "方便面", "KSF-HS", "红烧牛肉 5连包", "包", 11.8, 70, "康师傅食品经销", "许文",
     "022-58763421", "天津市西青区康师傅路15号"},
    {"SP003", "饼干", "AL-200", "200g 原味", "盒", 6.5, 90, "亿滋食品批发", "高洁", "021-63451278",
     "上海市闵行区莘庄工业区申富路88号"},
    {"SP004", "火腿肠", "SH-10", "30g×10支", "袋", 9.6, 50, "双汇食品经销", "曹磊", "0395-2678901",
     "河南省漯河市双汇路1号"},
    {"SP005", "茶叶", "LJ-250", "龙井 250g", "罐", 86, 12, "西湖龙井茶叶合作社", "沈玉兰",
     "0571-87961234", "杭州市西湖区龙井村88号"},
    {"SP006", "咖啡", "NS-1+2", "速溶 48条", "盒", 45, 20, "雀巢食品代理", "韩雪", "010-64329876",
     "北京市朝阳区望京街10号"},
    {"SP007", "食用油", "JLY-5L", "5L 玉米油", "桶", 59.9, 18, "金龙鱼粮油批发", "邓刚",
     "021-58901234", "上海市浦东新区光明路718号"},
};

struct Sale {
    int goods;  // index into kGoods
    double price;
    double quantity;
    const char* date;
    const char* customer;
    const char* phone;
    const char* address;
    const char* remark;
};

const Sale kSales[] = {
    {0, 2, 120, "2026-11-02 09:15:00", "张伟", "13901234567", "城东小学", ""},
    {0, 2, 80, "2026-11-05 14:40:00", "李娜", "13698765432", "幸福路12号", ""},
    {2, 4, 60, "2026-11-03 10:25:00", "城东小学", "0571-88001122", "城东路5号", "开学采购"},
    {4, 2.5, 30, "2026-11-03 16:05:00", "王芳", "13587654321", "建设路88号", ""},
    {6, 25, 20, "2026-11-04 11:30:00", "恒信会计事务所", "0571-86112233", "文三路20号", "开发票"},
    {7, 29.5, 12, "2026-11-06 15:20:00", "恒信会计事务所", "0571-86112233", "文三路20号", ""},
    {8, 38, 6, "2026-11-07 10:10:00", "陈杰", "13712349876", "东方花园3幢", ""},
    {10, 45, 15, "2026-11-08 13:45:00", "刘洋", "18812345678", "科技园B座", ""},
    {12, 79, 8, "2026-11-09 09:50:00", "赵敏", "15012345678", "学院路7号", ""},
    {13, 69, 5, "2026-11-09 17:35:00", "孙浩", "13312345678", "南山街45号", ""},
    {15, 12, 35, "2026-11-10 10:00:00", "周婷", "17712345678", "新华路9号", ""},
    {17, 9.5, 25, "2026-11-11 08:45:00", "吴磊", "13112345678", "人民路101号", ""},
    {19, 28, 10, "2026-11-12 16:30:00", "郑秀英", "13212345678", "康乐小区6栋", "送货上门"},
    {21, 21, 18, "2026-11-13 11:05:00", "马丽", "15112345678", "百合苑2单元", ""},
    {25, 32, 25, "2026-11-14 09:20:00", "城东小学", "0571-88001122", "城东路5号", "运动会用水"},
    {26, 15.5, 30, "2026-11-15 12:15:00", "黄强", "18912345678", "工业园宿舍", ""},
    {29, 128, 3, "2026-11-16 14:55:00", "林先生", "13812348765", "龙井路3号", "礼品包装"},
    {31, 75, 6, "2026-11-17 18:10:00", "何阿姨", "13612345678", "春晖小区", ""},
};

// The names and units of the generated goods rows, and of the sales made from them.
const char* const kGeneratedNames[] = {"中性笔", "笔记本", "复印纸", "订书机", "U盘",
                                       "鼠标",   "洗衣粉", "抽纸",   "矿泉水", "饼干"};
const char* const kGeneratedUnits[] = {"支", "本", "包", "个", "瓶"};

// Rounds through the stored text form, so every figure is held as its shortest 15-digit number.
double stored(long double value) {
    return *store::values::parseNumber(store::values::formatNumber(value));
}

struct Figures {
    double price, quantity, amount, salePrice, soldQuantity, soldAmount, profit, stock, stockAmount;
};

Figures figuresFor(double price, double quantity, double salePrice, double sold,
                   double soldAmount) {
    Figures f{};
    f.price = price;
    f.quantity = quantity;
    f.amount = stored(static_cast<long double>(price) * quantity);
    f.salePrice = salePrice;
    f.soldQuantity = sold;
    f.soldAmount = soldAmount;
    f.profit =
        stored(static_cast<long double>(soldAmount) - static_cast<long double>(price) * sold);
    f.stock = stored(static_cast<long double>(quantity) - sold);
    f.stockAmount = stored(static_cast<long double>(price) * f.stock);
    return f;
}

void bindGoods(store::Statement& insert, const char* code, const char* name, const char* model,
               const char* variant, const char* unit, const Figures& f, const char* supplier,
               const char* contact, const char* phone, const char* address, const char* remark) {
    int i = 1;
    for (const char* text : {code, name, model, variant, unit}) insert.bindText(i++, text);
    for (double value : {f.price, f.quantity, f.amount, f.salePrice, f.soldQuantity, f.soldAmount,
                         f.profit, f.stock, f.stockAmount})
        insert.bindDouble(i++, value);
    for (const char* text : {supplier, contact, phone, address, remark}) insert.bindText(i++, text);
}

store::Statement goodsInsert(const store::Database& db) {
    return store::Statement(db,
                            store::schema::insertSql(store::schema::table(store::schema::kGoods)));
}

}  // namespace

SaleWriter::SaleWriter(const store::Database& db)
    : insert_(db, store::schema::insertSql(store::schema::table(store::schema::kSales))) {}

void SaleWriter::write(const SaleRow& row) {
    insert_.reset();
    int i = 1;
    for (const char* text : {row.date, row.code, row.name, row.model, row.variant, row.unit})
        insert_.bindText(i++, text);
    for (double value : {row.price, row.quantity, row.amount}) insert_.bindDouble(i++, value);
    for (const char* text : {row.customer, row.phone, row.address, row.remark})
        insert_.bindText(i++, text);
    insert_.step();
}

void fillDemoData(store::Database& db) {
    store::Statement company(
        db, store::schema::insertSql(store::schema::table(store::schema::kCompany)));
    int i = 1;
    for (const char* text : {"杭州惠民百货便利店", "浙江省杭州市西湖区文一西路168号", "李明",
                             "0571-88886666", "http://www.huimin-bianli.cn", "诚信经营 薄利多销"})
        company.bindText(i++, text);
    company.step();

    store::Statement goods = goodsInsert(db);
    SaleWriter sales(db);
    const int goodsCount = static_cast<int>(sizeof kGoods / sizeof kGoods[0]);
    for (int g = 0; g < goodsCount; ++g) {
        const Goods& item = kGoods[g];
        double salePrice = 0, sold = 0;
        long double soldAmount = 0;
        for (const Sale& s : kSales) {
            if (s.goods != g) continue;
            double amount = stored(static_cast<long double>(s.price) * s.quantity);
            salePrice = s.price;
            sold = stored(static_cast<long double>(sold) + s.quantity);
            soldAmount += amount;

            sales.write({s.date, item.code, item.name, item.model, item.variant, item.unit, s.price,
                         s.quantity, amount, s.customer, s.phone, s.address, s.remark});
        }
        Figures f = figuresFor(item.price, item.quantity, salePrice, sold, stored(soldAmount));
        goods.reset();
        bindGoods(goods, item.code, item.name, item.model, item.variant, item.unit, f,
                  item.supplier, item.contact, item.phone, item.address, "");
        goods.step();
    }
}

void appendGeneratedGoods(store::Database& db, int count) {
    store::Transaction transaction(db);
    store::Statement goods = goodsInsert(db);
    char code[32], model[32], variant[32], phone[32], address[96];
    for (int i = 0; i < count; ++i) {
        std::snprintf(code, sizeof code, "SP%06d", i);
        std::snprintf(model, sizeof model, "M-%d", 100 + i % 900);
        std::snprintf(variant, sizeof variant, "%d号 规格%d", 1 + i % 12, i % 7);
        std::snprintf(phone, sizeof phone, "138%08d", (i * 7919) % 100000000);
        std::snprintf(address, sizeof address, "杭州市西湖区文一西路%d号", 1 + i % 999);
        double price = (100 + (i * 37) % 9000) / 100.0;
        double quantity = 10 + i % 190;
        double sold = i % 3 == 0 ? 0 : static_cast<double>(i % 10);
        double salePrice = sold > 0 ? stored(static_cast<long double>(price) * 1.25L) : 0;
        double soldAmount = stored(static_cast<long double>(salePrice) * sold);
        Figures f = figuresFor(price, quantity, salePrice, sold, soldAmount);
        goods.reset();
        bindGoods(goods, code, kGeneratedNames[i % 10], model, variant, kGeneratedUnits[i % 5], f,
                  "惠民批发市场", "王经理", phone, address, i % 4 == 0 ? "" : "常规进货");
        goods.step();
    }
    transaction.commit();
}

void appendGeneratedSales(store::Database& db, int count) {
    static const char* const customers[] = {"张伟", "王芳", "李娜", "刘强", "陈静", "杨洋"};
    store::Transaction transaction(db);
    SaleWriter sales(db);
    char date[40], code[32], model[32], variant[32], phone[32], address[96];
    for (int i = 0; i < count; ++i) {
        const int g = (i * 7) % 100000;
        std::snprintf(date, sizeof date, "2026-%02d-%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28,
                      8 + i % 12, i % 60, (i * 13) % 60);
        std::snprintf(code, sizeof code, "SP%06d", g);
        std::snprintf(model, sizeof model, "M-%d", 100 + g % 900);
        std::snprintf(variant, sizeof variant, "%d号 规格%d", 1 + g % 12, g % 7);
        std::snprintf(phone, sizeof phone, "139%08d", (i * 104729) % 100000000);
        std::snprintf(address, sizeof address, "杭州市拱墅区莫干山路%d号", 1 + i % 997);
        const double price =
            stored(static_cast<long double>(100 + (g * 37) % 9000) / 100.0L * 1.25L);
        const double quantity = 1 + i % 9;
        sales.write({date, code, kGeneratedNames[g % 10], model, variant, kGeneratedUnits[g % 5],
                     price, quantity, stored(static_cast<long double>(price) * quantity),
                     customers[i % 6], phone, address, i % 5 == 0 ? "" : "现金"});
    }
    transaction.commit();
}

}  // namespace tools
