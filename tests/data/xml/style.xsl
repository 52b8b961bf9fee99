<?xml version="1.0"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="windows-1250" indent="yes"/>
  <!-- szablon g³ówny -->
  <xsl:template match="/">
    <html>
      <head><title>Katalog</title></head>
      <body>
        <table border="1">
          <xsl:for-each select="katalog/produkt[@kategoria='zielona']">
            <xsl:sort select="nazwa" order="ascending"/>
            <tr>
              <td><xsl:value-of select="nazwa"/></td>
              <td align="right"><xsl:value-of select="format-number(cena, '0.00')"/>&#160;z³</td>
              <xsl:if test="cena &gt; 10 and @id != 'p3'">
                <td class='drogie'>tak</td>
              </xsl:if>
            </tr>
          </xsl:for-each>
        </table>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
