SELECT name, 'it''s' FROM Customers WHERE id >= @id -- note
/* block
   comment */ @@rowcount 1..5 1-2 "a\"b" x || y
'open string
still' $ ` :x <<= => == != &&
