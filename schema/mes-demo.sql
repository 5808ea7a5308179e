-- Demo MES database of the weaving hall: three beams on two looms and their events of the last
-- days (lengths in decimetres, as the loom controllers report them). Run with mirel-sql after --init.
insert into 员工信息(编号,姓名) values ('E01','张秀英');
insert into 员工信息(编号,姓名) values ('E02','李春梅');
insert into 员工信息(编号,姓名) values ('E03','王海燕');
GO
insert into 坯布信息(坯布编号,坯布名称,原料规格,门幅,克重) values ('PB-2001','涤棉平纹坯布','T/C 65/35 45x45 133x72','160cm','115g');
insert into 坯布信息(坯布编号,坯布名称,原料规格,门幅,克重) values ('PB-3005','纯棉斜纹坯布','C 32x32 130x70','150cm','180g');
GO
insert into 生产卡(id,写卡时间,备注,总经长,产品编号) values (1,dateadd(day,-3,getdate()),'A01机 上轴 涤棉平纹',3000,'PB-2001');
insert into 生产卡(id,写卡时间,备注,总经长,产品编号) values (2,dateadd(day,-2,getdate()),'A01机 上轴 纯棉斜纹',2500,'PB-3005');
insert into 生产卡(id,写卡时间,备注,总经长,产品编号) values (3,dateadd(day,-2,getdate()),'B07机 上轴 涤棉平纹',2800,'PB-2001');
GO
-- Event types: 33 doff (roll cut), 22 shift hand-over, 10-16 stops; 参数2 is the worker taking over.
insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,是否检验) values (12,1,1,'A01','E01',null,400,400,dateadd(hour,-60,getdate()),0);
insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,是否检验) values (22,1,1,'A01','E01','E02',900,900,dateadd(hour,-56,getdate()),0);
insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,是否检验) values (33,1,1,'A01','E02',null,1200,1200,dateadd(hour,-50,getdate()),0);
insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,是否检验) values (33,2,1,'A01','E01',null,1150,1150,dateadd(hour,-20,getdate()),0);
insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,是否检验) values (22,3,1,'B07','E03','E01',600,600,dateadd(hour,-30,getdate()),0);
insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,是否检验) values (33,3,1,'B07','E01',null,1050,1050,dateadd(hour,-26,getdate()),0);
insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,是否检验) values (33,3,2,'B07','E01',null,980,2030,dateadd(hour,-5,getdate()),0);
GO
