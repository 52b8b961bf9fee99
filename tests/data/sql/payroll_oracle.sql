REM Payroll package, version 2
REMARK   run as the owner of the schema
SET SERVEROUTPUT ON SIZE 100000
PROMPT Creating the package...

CREATE OR REPLACE PACKAGE BODY payroll AS
  c_tax CONSTANT NUMBER(5,2) := 18.00;
  e_no_rate EXCEPTION;
  PRAGMA EXCEPTION_INIT(e_no_rate, -20001);

  FUNCTION net_pay(p_emp IN emp.empno%TYPE) RETURN NUMBER IS
    v_sal emp.sal%TYPE;
    v_code$ VARCHAR2(10) := 'A#1';
  BEGIN
    SELECT sal INTO v_sal FROM emp WHERE empno = :emp_no;
    IF v_sal IS NULL THEN
      RAISE e_no_rate;
    ELSIF v_sal > 10000 THEN
      DBMS_OUTPUT.PUT_LINE('High salary: ' || TO_CHAR(v_sal, '99G999D99'));
    END IF;
    RETURN v_sal * (1 - c_tax / 100);
  EXCEPTION
    WHEN NO_DATA_FOUND THEN
      RETURN 0;
    WHEN TOO_MANY_ROWS OR VALUE_ERROR THEN
      RAISE_APPLICATION_ERROR(-20002, 'Bad employee ' || p_emp);
  END net_pay;
END payroll;
/
SHOW ERRORS
