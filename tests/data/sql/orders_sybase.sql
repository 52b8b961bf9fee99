/* Monthly order report
   for the warehouse */
create procedure dbo.report_orders
    @month int,
    @year  int = null
as
begin
    declare @total money, @count int
    select @count = count(*), @total = sum(amount)
      from orders o
     where datepart(month, o.created) = @month
       and (@year is null or datepart(year, o.created) = @year)
    if @@rowcount = 0
        raiserror 20001 'No orders in the month'
    print 'Orders: %1!', @count  -- for the log
    select o.id, c.name, o.amount * 1.23 as gross
      from orders o, customers c
     where c.id = o.customer_id and o.status <> 'cancelled'
     order by o.amount desc
end
go
