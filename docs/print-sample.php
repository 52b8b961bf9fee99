<?php
/* Lista zamówieñ klienta: odczyt z bazy i tabela HTML.
   Kod w Windows-1250, jak wszystkie pliki edytora. */
require_once 'baza.php';

$klient = isset($_GET['klient']) ? (int) $_GET['klient'] : 0;
$zapytanie = "SELECT numer, data, kwota FROM zamowienia WHERE klient = $klient ORDER BY data DESC";
$wynik = mysql_query($zapytanie) or die("B³¹d zapytania: " . mysql_error());

function kwota($liczba) {
    // dwa miejsca po przecinku i spacja tysiêcy
    return number_format($liczba, 2, ',', ' ') . '&nbsp;z³';
}
?>
<html>
<head>
  <title>Zamówienia klienta nr <?php echo $klient; ?></title>
  <style type="text/css">
    td.kwota { text-align: right; color: #003399; }
  </style>
</head>
<body bgcolor="#FFFFFF">
<h1>Zamówienia</h1>
<!-- tabela z wynikami, po jednym wierszu na zamówienie -->
<table border="1" cellpadding="3" summary="Lista zamówieñ wybranego klienta, od najnowszego do najstarszego, z kwotami brutto">
<?php while ($wiersz = mysql_fetch_assoc($wynik)) { ?>
  <tr>
    <td><a href="zamowienie.php?nr=<?php echo $wiersz['numer']; ?>"><?php echo $wiersz['numer']; ?></a></td>
    <td><?php echo date('d.m.Y', strtotime($wiersz['data'])); ?></td>
    <td class="kwota"><?php echo kwota($wiersz['kwota']); ?></td>
  </tr>
<?php } ?>
</table>
<p>Razem: <?php echo mysql_num_rows($wynik); ?> zamówieñ.</p>
</body>
</html>
