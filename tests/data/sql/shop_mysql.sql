# MySQL dump of the shop database
-- Server version 4.0.16

DROP TABLE IF EXISTS `orders`;
CREATE TABLE `orders` (
  `id` int(11) unsigned NOT NULL auto_increment,
  `customer_id` int(11) NOT NULL default '0',
  `note` text,
  `amount` decimal(10,2) NOT NULL default '0.00',
  `created` datetime NOT NULL default '0000-00-00 00:00:00',
  PRIMARY KEY  (`id`),
  KEY `customer` (`customer_id`)
) TYPE=MyISAM;

INSERT INTO `orders` VALUES (1,7,'Herbata zielona \'Sencha\'',12.50,'2003-12-01 10:15:00');
INSERT INTO `orders` VALUES (2,7,'C:\\Temp\\',4.00,'2003-12-02 08:00:00'),(3,9,'two
lines',1.5,NOW());
SELECT id, CONCAT(note, " (", amount, ")") AS label FROM orders WHERE amount BETWEEN 1 AND 20 LIMIT 10;
SET @total = (SELECT SUM(amount) FROM orders);
