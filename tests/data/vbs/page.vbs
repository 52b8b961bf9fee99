<%@ Language=VBScript %>
<%
  Dim rs, sql, i
  sql = "SELECT id, name FROM products WHERE price <= " & CDbl(Request("max"))
  Set rs = Server.CreateObject("ADODB.Recordset")
  rs.Open sql, "DSN=shop"
  Do While Not rs.EOF
    Response.Write "<tr><td>" & rs("id") & "</td><td>" & Server.HTMLEncode(rs("name")) & "</td></tr>"
    rs.MoveNext
  Loop
  rs.Close : Set rs = Nothing
  x = """quoted"" word"
  y = "unterminated
  z = #1/1/2000
  a$ = 12.5e3 + &H1F
  REM an old-style comment
%>
